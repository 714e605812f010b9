#pragma once
// The editor shell on the seam's doubles: what the shell's logic tests start
// from. The text files are in memory (ShellOnDoubles) where a test is about
// the shell's own logic, and on disk (ShellOnDisk, in a folder of the test's
// own) where it is about what the file system does to a document.
#include "document/EditorShell.h"
#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeFileDialogs.h"
#include "platform/doubles/FakeMainWindow.h"
#include "platform/doubles/FakeMessageBox.h"
#include "platform/doubles/FakeSettings.h"
#include "platform/doubles/FakeTextFiles.h"

namespace zuno::test {

template <typename Files>
struct ShellWith {
    FakeEditControl editor;
    FakeMainWindow window;
    FakeMessageBox messages;
    FakeSettings settings;
    FakeFileDialogs dialogs;
    Files files;
    EditorShell shell{EditorServices{editor, window, messages, settings, dialogs, files}};
};

using ShellOnDoubles = ShellWith<FakeTextFiles>;
using ShellOnDisk = ShellWith<DiskTextFiles>;

} // namespace zuno::test
