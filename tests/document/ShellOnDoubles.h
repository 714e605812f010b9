#pragma once
// The editor shell on the seam's doubles, with the real text files: what
// the shell's logic tests start from.
#include "document/EditorShell.h"
#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeFileDialogs.h"
#include "platform/doubles/FakeMainWindow.h"
#include "platform/doubles/FakeMessageBox.h"
#include "platform/doubles/FakeSettings.h"

namespace zuno::test {

struct ShellOnDoubles {
    FakeEditControl editor;
    FakeMainWindow window;
    FakeMessageBox messages;
    FakeSettings settings;
    FakeFileDialogs dialogs;
    DiskTextFiles files;
    EditorShell shell{EditorServices{editor, window, messages, settings, dialogs, files}};
};

} // namespace zuno::test
