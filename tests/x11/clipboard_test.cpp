// SPDX-License-Identifier: MIT
// QtClipboard on the real X server's CLIPBOARD selection, with xclip as the other
// program. Qt's event loop runs while xclip talks to this process.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <X11/Xlib.h>

#include <csignal>
#include <fstream>
#include <iostream>

#include "backends/qt/qt_services.h"
#include "qt_event_wait.h"

using namespace pelmora;
using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

struct XclipRun {
    bool finished = false;
    int exitCode = -1;
    std::string output;
};

// Runs xclip to its end, feeding it input; this process keeps answering the X server
// meanwhile (xclip -o asks it for the selection it owns).
XclipRun Xclip(const QStringList& arguments, const std::string& input = {}) {
    QProcess process;
    process.start("xclip", arguments);
    XclipRun run;
    if (!process.waitForStarted()) return run;
    if (!input.empty()) process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    run.finished = PumpUntil([&] { return process.state() == QProcess::NotRunning; }, 10s);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput().toStdString();
    return run;
}

// What another program pastes: the CLIPBOARD selection as UTF-8 text.
XclipRun Paste() { return Xclip({"-o", "-selection", "clipboard", "-t", "UTF8_STRING"}); }

bool ValidUtf8(const std::string& bytes) {
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(raw).toUtf8() == raw;  // decoding replaces every invalid sequence
}

struct ClipboardTest : ::testing::Test {
    QtClipboard clipboard;
    QTemporaryDir folder;
    QProcess owner;  // xclip -i in the foreground: it holds the clipboard until it loses it
    ::Display* display = XOpenDisplay(nullptr);
    Atom clipboardAtom = display ? XInternAtom(display, "CLIPBOARD", False) : None;

    void SetUp() override {
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(folder.isValid());
        clipboard.Clear();
        ASSERT_TRUE(PumpUntil([&] { return SelectionOwner() == None; })) << "the clipboard still has an owner";
    }
    void TearDown() override {
        if (owner.state() != QProcess::NotRunning) {
            kill(static_cast<pid_t>(owner.processId()), SIGCONT);
            owner.kill();
            owner.waitForFinished();
        }
        if (display) XCloseDisplay(display);
    }
    ::Window SelectionOwner() { return XGetSelectionOwner(display, clipboardAtom); }

    // Writes bytes to a file of the test's folder and returns its path.
    QString File(const std::string& name, const std::string& bytes) {
        QString path = folder.filePath(QString::fromStdString(name));
        std::ofstream file(path.toStdString(), std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // Has xclip put the file on the clipboard, as the given target (xclip's default is
    // UTF8_STRING), and waits until it owns the selection.
    void Offer(const QString& file, const QString& target = {}) {
        QStringList arguments{"-i", "-selection", "clipboard", "-quiet"};
        if (!target.isEmpty()) arguments << "-t" << target;
        owner.start("xclip", arguments << file);
        ASSERT_TRUE(owner.waitForStarted());
        const auto xclipOwns = [&] {
            return SelectionOwner() != None && !QGuiApplication::clipboard()->ownsClipboard();
        };
        ASSERT_TRUE(PumpUntil(xclipOwns, 20s)) << "xclip never took the clipboard";
    }
};

}  // namespace

TEST_F(ClipboardTest, TextSetHereIsWhatAnotherProgramPastesByteForByte) {
    const std::string texts[] = {"12,34", "坐标颜色：x=1280 y=1024\r\n\"FF00AA\"\t蓝"};
    for (const std::string& text : texts) {
        clipboard.SetText(text);
        const XclipRun pasted = Paste();
        ASSERT_TRUE(pasted.finished);
        EXPECT_EQ(pasted.exitCode, 0);
        EXPECT_EQ(pasted.output, text);
        EXPECT_EQ(clipboard.Text(), text);
    }
    // Setting text takes the clipboard back from another program that holds it.
    ASSERT_NO_FATAL_FAILURE(Offer(File("other.txt", "别的程序")));
    clipboard.SetText("又是我们的");
    EXPECT_EQ(Paste().output, "又是我们的");
    EXPECT_TRUE(PumpUntil([&] { return owner.state() == QProcess::NotRunning; })) << "xclip kept the clipboard";
}

TEST_F(ClipboardTest, TextAnotherProgramCopiedIsReadAndClearTakesItAway) {
    const std::string copied = "另一个程序复制的文字 ABC 123\r\n第二行";
    ASSERT_NO_FATAL_FAILURE(Offer(File("copied.txt", copied)));
    EXPECT_EQ(clipboard.Text(), copied);

    clipboard.Clear();
    EXPECT_EQ(clipboard.Text(), "");
    EXPECT_TRUE(PumpUntil([&] { return owner.state() == QProcess::NotRunning; })) << "xclip kept the clipboard";
    const XclipRun pasted = Paste();
    EXPECT_NE(pasted.exitCode, 0);
    EXPECT_EQ(pasted.output, "");

    // Clearing our own text leaves nothing either.
    clipboard.SetText("ours");
    clipboard.Clear();
    EXPECT_EQ(clipboard.Text(), "");
    EXPECT_EQ(Paste().output, "");
}

TEST_F(ClipboardTest, APictureAloneIsNoText) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = folder.filePath("picture.png");
    ASSERT_TRUE(picture.save(path, "PNG"));
    ASSERT_NO_FATAL_FAILURE(Offer(path, "image/png"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(clipboard.Text(), "");
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(ClipboardTest, APictureAnotherProgramCopiedAsPngOrBitmapIsReadPixelForPixel) {
    QImage picture(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) picture.setPixel(x, y, qRgb(x * 30, y * 50, 200 - x * y));
    for (const char* format : {"PNG", "BMP"}) {
        const QString path = folder.filePath(QString("picture.") + format);
        ASSERT_TRUE(picture.save(path, format));
        ASSERT_NO_FATAL_FAILURE(Offer(path, QString("image/") + QString(format).toLower()));
        const std::optional<Surface> pasted = clipboard.Picture();
        ASSERT_TRUE(pasted) << format;
        ASSERT_EQ(pasted->Width(), 7);
        ASSERT_EQ(pasted->Height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(pasted->Pixel(x, y), x * 30 | (y * 50) << 8 | (200 - x * y) << 16) << format << x << "," << y;
        owner.kill();
        owner.waitForFinished();
    }
}

TEST_F(ClipboardTest, TextOrGarbageIsNoPicture) {
    ASSERT_NO_FATAL_FAILURE(Offer(File("copied.txt", "only text")));
    EXPECT_FALSE(clipboard.Picture());
    owner.kill();
    owner.waitForFinished();
    ASSERT_NO_FATAL_FAILURE(Offer(File("broken.png", "\x89PNG\r\n\x1a\n then nothing"), "image/png"));
    EXPECT_FALSE(clipboard.Picture());
}

TEST_F(ClipboardTest, InvalidUtf8ArrivesAsValidUtf8WithReplacementCharacters) {
    ASSERT_NO_FATAL_FAILURE(Offer(File("invalid.txt",
                                       "ab\xff\xfe"
                                       "cd\xc3"
                                       "中\xe4\xb8")));
    const std::string text = clipboard.Text().value_or("(unreadable)");
    EXPECT_TRUE(ValidUtf8(text));
    EXPECT_EQ(text.substr(0, 2), "ab");
    EXPECT_NE(text.find("cd"), std::string::npos);
    EXPECT_NE(text.find("中"), std::string::npos);
    EXPECT_NE(text.find("\xef\xbf\xbd"), std::string::npos);  // U+FFFD
}

TEST_F(ClipboardTest, HundredMegabytesOfTextArriveWholeWithinSeconds) {
    // 1,000,000 numbered lines of 100 bytes each, Chinese in every line.
    std::string big;
    big.reserve(100'000'000);
    for (int line = 0; line < 1'000'000; ++line) {
        std::string text = "第" + std::to_string(line) + "行 ";
        text.resize(99, 'x');
        big += text + '\n';
    }
    ASSERT_EQ(big.size(), 100'000'000u);
    ASSERT_NO_FATAL_FAILURE(Offer(File("big.txt", big)));

    QElapsedTimer timer;
    timer.start();
    const std::string text = clipboard.Text().value_or("(unreadable)");
    const qint64 elapsed = timer.elapsed();
    std::cout << "[ measured ] 100 MB clipboard text read in " << elapsed << " ms\n";
    RecordProperty("text_ms", static_cast<int>(elapsed));
    EXPECT_EQ(text.size(), big.size());
    EXPECT_TRUE(text == big) << "the text arrived changed";
    // About a second alone; the bound tells a transfer that stalls or grows quadratic (minutes)
    // from one slowed by a loaded machine or the sanitizers (6 s seen under ASan beside a
    // second build), so that it holds on any machine that runs the suites.
    EXPECT_LT(elapsed, 20000);
}

TEST_F(ClipboardTest, AnOwnerThatNeverAnswersCostsOneTimeoutAndIsAFailedReadNotAnEmptyText) {
    ASSERT_NO_FATAL_FAILURE(Offer(File("hung.txt", "never delivered")));
    kill(static_cast<pid_t>(owner.processId()), SIGSTOP);  // holds the clipboard, answers nothing
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(clipboard.Text(), std::nullopt);
    const qint64 elapsed = timer.elapsed();
    std::cout << "[ measured ] text from a stopped owner: " << elapsed << " ms\n";
    // Qt waits 5 s for an answer to a request; Text() makes one request, not one per format.
    EXPECT_LT(elapsed, 6500);
}
