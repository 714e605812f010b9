// From a key to the screen showing it, in the real window, on a 200 MB
// document (ZUNO_BENCH_LARGE_MB sets another size), beside gvim in the same
// run. Run it under a display:
//   tests/e2e/with_xvfb.sh build/bench/editor/bench_keyscreen
//
// Keys go through the X server (XTEST), as a keyboard's would. At the start
// (the end of the eleventh line), the middle and the end of the document,
// with long lines not wrapped and wrapped, a number of rounds (20, or
// ZUNO_KEYSCREEN_ROUNDS) of four letters, Enter, and two Backspaces (the
// line break, then a letter), a pause between keys (50 ms, or
// ZUNO_KEYSCREEN_GAP_MS) as a quick typist leaves.
//
// Both windows show 80 columns and 23 rows of text. Both editors are timed
// by the same clock: from the key sent to the X server's first drawing on
// the screen after it (its DAMAGE extension, on a connection of the
// benchmark's own), each key with a deadline of a second, neither caret
// blinking.
//
// ZUNOPad: besides, the process's CPU time from the key to the end of the
// repaint after it and the window's pixels handed to the X server and taken
// (a round trip on the window's own connection), and over the whole row
// (what runs between keys too: timers, Scintilla's idle work) a key's share
// of it.
//
// gvim (gvim -u NONE, the same file, the same keys): besides, from the key
// to Vim's SafeState after the change (its screen updated, about to wait
// for the next key), as reltime() tells it, before GTK hands the pixels
// over. Its CPU time is the process's over the whole row, a key's share of
// it.
//
// Before the first row each editor gets a key that changes nothing (Right,
// then Left): the first key of a session sets up the keyboard (Qt reads
// the locale's compose table, about 4 ms), whatever the place.
#include "../support/WindowSteps.h"
#include "../support/ScreenDamage.h"
#include "../support/XKeys.h"
#include "GvimRemote.h"
#include "KeyScreenStats.h"
#include "window/frmEditor.h"
#include "platform/LargeBlocks.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <Qsci/qsciscintillabase.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

using namespace zuno;
using namespace zuno::bench;

namespace {

using Sci = QsciScintillaBase;

struct Key {
    const char *name;
    unsigned long sym;
};
const Key Letter{"letter", KeyLetterX};
const Key Enter{"Enter", KeyReturn};
const Key Backspace{"Backspace", KeyBackSpace};
const Key Round[] = {Letter, Letter, Letter, Letter, Enter, Backspace, Backspace};
constexpr int BytesPerRound = 3; // four letters, a line break and its undoing, a letter undone

const char *const Places[] = {"start", "middle", "end"};

int envInt(const char *name, int fallback)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

// A List file of `bytes` bytes, whose only fault is its last line.
QString writeDocument(const QTemporaryDir &dir, qint64 bytes)
{
    const QString path = dir.filePath(QStringLiteral("KEYS.PRJ"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk;
    for (int record = 0; file.size() + chunk.size() < bytes; ++record) {
        const QByteArray n = QByteArray::number(record);
        chunk += "AC:" + n + "\r\nBG:A" + n + "\r\nPL:100,101,102,103,104\r\nXX:CAB\r\nEG:" + n + "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "REMARK X");
    // On the disk before the first key: the kernel's writing of it back
    // would otherwise fall on the first editor's rows.
    file.flush();
    ::fsync(file.handle());
    return path;
}

// Runs the event loop for `ms`.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Watches one key's way: its arrival in the editor, the editor's next
// repaint, and the end of the event that painted and flushed the window.
class ScreenProbe : public QObject {
public:
    ScreenProbe(QWidget *viewport, xcb_connection_t *connection) : viewport_(viewport), connection_(connection)
    {
        qApp->installEventFilter(this);
    }

    // The wall time at which the key was on screen, or a negative value
    // when it was not within `deadlineMs` of now.
    double waitForScreen(double deadlineMs)
    {
        QEventLoop loop;
        loop_ = &loop;
        QTimer::singleShot(int(deadlineMs), &loop, &QEventLoop::quit);
        if (shownAt_ < 0)
            loop.exec();
        loop_ = nullptr;
        return shownAt_;
    }
    // The process's CPU time when the key was on screen.
    double cpuAtScreen() const { return cpuAtScreen_; }
    // The wall time at which the key reached the application.
    double deliveredAt() const { return deliveredAt_; }
    void arm()
    {
        delivered_ = painted_ = false;
        shownAt_ = -1;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && !delivered_) {
            delivered_ = true;
            deliveredAt_ = wallMs();
        }
        else if (event->type() == QEvent::Paint && watched == viewport_ && delivered_ && !painted_) {
            painted_ = true;
            // After the event being handled: the rest of the repaint and the
            // window's flush to the X server.
            QMetaObject::invokeMethod(this, [this] { onScreen(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void onScreen()
    {
        // The server has drawn what the window sent once it answers a
        // request sent after it on the same connection.
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        shownAt_ = wallMs();
        cpuAtScreen_ = processCpuMs();
        if (loop_)
            loop_->quit();
    }

    QWidget *viewport_;
    xcb_connection_t *connection_;
    QEventLoop *loop_ = nullptr;
    bool delivered_ = false;
    bool painted_ = false;
    double shownAt_ = -1;
    double cpuAtScreen_ = 0;
    double deliveredAt_ = 0;
};

struct Row {
    KeySamples byKey[3]; // letter, Enter, Backspace
    static int index(const Key &key) { return key.sym == KeyLetterX ? 0 : key.sym == KeyReturn ? 1 : 2; }
};

// The wrap settings to run: ZUNO_KEYSCREEN_WRAP says "off", "on" or both.
std::vector<bool> wrapSettings()
{
    const QByteArray chosen = qgetenv("ZUNO_KEYSCREEN_WRAP");
    if (chosen == "off" || chosen == "on")
        return {chosen == "on"};
    return {false, true};
}

// The text both editors show: gvim's 80 columns and 24 lines, one of them
// its command line.
constexpr int ShownColumns = 80;
constexpr int ShownRows = 23;

bool runZunoPad(const QString &path, XKeys &keys, ScreenDamage &screen, int rounds, int gapMs)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        std::fprintf(stderr, "ZUNOPad: not on X11 (QT_QPA_PLATFORM=xcb)\n");
        return false;
    }
    frmEditor window;
    window.show();
    window.formLoad(path);
    if (!settleWindow(window)) {
        std::fprintf(stderr, "ZUNOPad: the window did not settle\n");
        return false;
    }
    EditorWidget *editor = window.editor();
    // The same text in view as in gvim's window (ours otherwise fits the
    // document's widest line).
    const int cell = int(editor->SendScintilla(Sci::SCI_TEXTWIDTH, static_cast<unsigned long>(Sci::STYLE_DEFAULT), "X"));
    const int row = int(editor->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
    const QSize text(editor->viewport()->width() - editor->marginsWidth(), editor->viewport()->height());
    window.resize(window.size() + QSize(ShownColumns * cell - text.width() + 2, ShownRows * row - text.height()));
    const auto columns = [&] { return (editor->viewport()->width() - editor->marginsWidth()) / std::max(cell, 1); };
    const auto rows = [&] { return editor->SendScintilla(Sci::SCI_LINESONSCREEN); };
    if (!idleUntil([&] { return columns() >= ShownColumns && rows() >= ShownRows; }, 5000))
        std::fprintf(stderr, "ZUNOPad: the window did not take gvim's size\n");
    std::fprintf(stderr, "ZUNOPad shows %d columns and %ld rows\n", columns(), rows());
    editor->setFocus();
    // The caret stays still, as gvim's does: a blink is a change of the
    // screen that no key made.
    editor->SendScintilla(Sci::SCI_SETCARETPERIOD, 0UL);
    keys.focus(window.winId());
    if (!idleUntil([&] { return window.isActiveWindow() && editor->hasFocus(); }, 5000))
        std::fprintf(stderr, "ZUNOPad: the window did not take the keyboard\n");
    ScreenProbe probe(editor->viewport(), x11->connection());
    DamageWatcher watcher(screen);
    for (unsigned long sym : {KeyRight, KeyLeft}) {
        watcher.start(1000);
        probe.arm();
        keys.press(sym);
        probe.waitForScreen(1000);
        watcher.result();
    }
    const bool eachKey = envInt("ZUNO_KEYSCREEN_EACH", 0) != 0;
    bool sound = true;
    for (bool wrap : wrapSettings()) {
        editor->SendScintilla(Sci::SCI_SETWRAPMODE, wrap ? Sci::SC_WRAP_WORD : Sci::SC_WRAP_NONE);
        for (const char *place : Places) {
            const long lines = editor->SendScintilla(Sci::SCI_GETLINECOUNT);
            if (QByteArray(place) == "end")
                editor->SendScintilla(Sci::SCI_DOCUMENTEND);
            else
                editor->SendScintilla(Sci::SCI_GOTOLINE, QByteArray(place) == "start" ? 10UL : lines / 2);
            editor->SendScintilla(Sci::SCI_LINEEND);
            idle(500);
            const long length = editor->SendScintilla(Sci::SCI_GETLENGTH);
            // Where Scintilla's gap was left, against the caret: the first
            // key there moves the bytes between the two.
            std::fprintf(stderr, "%s, wrap %s: the gap %+.1f MB from the caret\n", place, wrap ? "on" : "off",
                         double(editor->SendScintilla(Sci::SCI_GETGAPPOSITION)
                                - editor->SendScintilla(Sci::SCI_GETCURRENTPOS)) / 1e6);
            Row row;
            const double rowCpu = processCpuMs();
            for (int r = 0; r < rounds; ++r) {
                for (const Key &key : Round) {
                    watcher.start(1000);
                    probe.arm();
                    const double cpu = processCpuMs();
                    const double sent = wallMs();
                    keys.press(key.sym);
                    // The probe's CPU time stops at the end of the repaint; the
                    // server's drawing has begun before its round trip ends.
                    probe.waitForScreen(1000);
                    double shown = watcher.result();
                    // A drawing before the key arrived is not the key's.
                    if (shown >= 0 && shown < probe.deliveredAt()) {
                        std::fprintf(stderr, "ZUNOPad: the screen changed before the key arrived\n");
                        shown = -1;
                    }
                    KeySamples &samples = row.byKey[Row::index(key)];
                    if (shown < 0)
                        ++samples.missed;
                    else
                        samples.add(shown - sent, probe.cpuAtScreen() - cpu);
                    if (eachKey)
                        std::fprintf(stderr, "%s %s %d %s: %.2f ms, %.2f ms CPU\n", place, wrap ? "on" : "off", r,
                                     key.name, shown < 0 ? -1.0 : shown - sent, probe.cpuAtScreen() - cpu);
                    idle(gapMs);
                }
            }
            const double rowCpuPerKey = (processCpuMs() - rowCpu) / double(rounds * std::size(Round));
            for (const Key &key : {Letter, Enter, Backspace}) {
                const KeySamples &samples = row.byKey[Row::index(key)];
                printRow("ZUNOPad", place, wrap, key.name, samples,
                         milliseconds(rankValue(samples.cpuMs, 0.5)) + " to the screen (median), "
                             + milliseconds(rowCpuPerKey) + " a key over the row");
            }
            if (editor->SendScintilla(Sci::SCI_GETLENGTH) != length + long(BytesPerRound) * rounds
                || editor->SendScintilla(Sci::SCI_GETLINECOUNT) != lines) {
                std::fprintf(stderr, "ZUNOPad: the text did not follow the keys (%s)\n", place);
                sound = false;
            }
        }
    }
    editor->setModified(false);
    return sound;
}

// Vim's SafeState marks ("changes seconds" a line) matched to the keys.
void matchStamps(const QString &stamps, const std::vector<double> &sentAt, const std::vector<const Key *> &sentKeys,
                 Row &row)
{
    std::vector<VimMark> marks;
    for (const QString &line : stamps.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() == 2)
            marks.push_back({parts[0].toLong(), parts[1].toDouble() * 1e3});
    }
    const std::vector<double> shown = matchMarks(marks, sentAt, 1000);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        KeySamples &samples = row.byKey[Row::index(*sentKeys[i])];
        if (shown[i] < 0)
            ++samples.missed;
        else
            samples.add(shown[i], 0);
    }
}

bool runGvim(const QString &path, const QTemporaryDir &dir, XKeys &keys, ScreenDamage &screen, int rounds, int gapMs)
{
    if (std::system("command -v gvim > /dev/null") != 0) {
        std::fprintf(stderr, "gvim: not installed (vim-gtk3), no row\n");
        return true;
    }
    Gvim gvim(path, dir);
    if (!gvim.ready(180'000)) {
        std::fprintf(stderr, "gvim: did not answer within three minutes\n");
        return false;
    }
    keys.focus(gvim.expr(QStringLiteral("v:windowid")).toULong());
    for (unsigned long sym : {KeyRight, KeyLeft}) {
        screen.arm();
        keys.press(sym);
        screen.waitForChange(1000);
    }
    const long lines = gvim.expr(QStringLiteral("line('$')")).toLong();
    for (bool wrap : wrapSettings()) {
        gvim.send(wrap ? QStringLiteral("<Esc>:set wrap<CR>") : QStringLiteral("<Esc>:set nowrap<CR>"));
        for (const char *place : Places) {
            const QByteArray name(place);
            const long line = name == "start" ? 11 : name == "middle" ? lines / 2 + 1 : lines;
            gvim.send(QStringLiteral("<Esc>%1GA").arg(line));
            if (!gvim.until(QStringLiteral("line('.') == %1 && mode() ==# 'i'").arg(line), 10'000))
                return false;
            const long bytes = gvim.expr(QStringLiteral("line2byte(line('$') + 1)")).toLong();
            gvim.expr(QStringLiteral("KsTake()"));
            std::vector<double> sentAt;
            std::vector<const Key *> sentKeys;
            Row drawn;
            const double cpu = gvim.cpuMs();
            for (int r = 0; r < rounds; ++r) {
                for (const Key &key : Round) {
                    screen.arm();
                    sentAt.push_back(wallMs());
                    sentKeys.push_back(&key);
                    keys.press(key.sym);
                    const double shown = screen.waitForChange(1000);
                    KeySamples &samples = drawn.byKey[Row::index(key)];
                    if (shown < 0)
                        ++samples.missed;
                    else
                        samples.add(shown - sentAt.back(), 0);
                    std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
                }
            }
            // Until the last change is stamped.
            if (!gvim.until(QStringLiteral("get(g:ks, -1, '') =~# '^' . b:changedtick . ' '"), 10'000))
                return false;
            const double cpuPerKey = (gvim.cpuMs() - cpu) / double(sentAt.size());
            Row row;
            matchStamps(gvim.expr(QStringLiteral("KsTake()")), sentAt, sentKeys, row);
            for (const Key &key : {Letter, Enter, Backspace}) {
                printRow("gvim", place, wrap, key.name, drawn.byKey[Row::index(key)],
                         milliseconds(cpuPerKey) + " a key over the row");
                printRow("gvim, SafeState", place, wrap, key.name, row.byKey[Row::index(key)], "");
            }
            if (gvim.expr(QStringLiteral("line2byte(line('$') + 1)")).toLong() != bytes + long(BytesPerRound) * rounds
                || gvim.expr(QStringLiteral("line('$')")).toLong() != lines)
                std::fprintf(stderr, "gvim: the text did not follow the keys (%s)\n", place);
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs a display: tests/e2e/with_xvfb.sh %s\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    keepLargeBlocksForReuse();
    QApplication app(argc, argv);
    XKeys keys;
    ScreenDamage screen;
    if (!keys.usable() || !screen.usable()) {
        std::fprintf(stderr, "the X server's XTEST or DAMAGE extension (libXtst.so.6, libXdamage.so.1) is missing\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString path = writeDocument(dir, qint64(envInt("ZUNO_BENCH_LARGE_MB", 200)) * 1'000'000);
    const int rounds = envInt("ZUNO_KEYSCREEN_ROUNDS", 20);
    const int gapMs = envInt("ZUNO_KEYSCREEN_GAP_MS", 50);
    std::printf("%lld bytes, %d rounds of four letters, Enter and two Backspaces, %d ms apart\n\n",
                QFileInfo(path).size(), rounds, gapMs);
    printHeader();
    const bool ours = runZunoPad(path, keys, screen, rounds, gapMs);
    const bool theirs = envInt("ZUNO_KEYSCREEN_GVIM", 1) == 0 || runGvim(path, dir, keys, screen, rounds, gapMs);
    return ours && theirs ? 0 : 1;
}
