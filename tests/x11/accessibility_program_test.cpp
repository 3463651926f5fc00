// The real program seen through AT-SPI, the way desktop test tools see it: every widget
// is found by its accessible description (the control's name with its index), carries
// the name a person reads, and a field's text is read over the bus. Runs on a session bus
// of its own (dbus-run-session), on which the accessibility bus is started on demand;
// the client is Debian's /usr/bin/python3 with pyatspi.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "x11_test_support.h"

using namespace pelmora::testing;
using namespace std::chrono_literals;

namespace {

// One accessible object of the program's tree.
struct Accessible {
    int depth = 0;
    std::string role, description, name, text;
};

std::string Unescape(const std::string& field) {
    std::string plain;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            plain += field[i];
            continue;
        }
        const char code = field[++i];
        plain += code == 't' ? '\t' : code == 'n' ? '\n' : code == 'r' ? '\r' : code;
    }
    return plain;
}

std::vector<Accessible> ParseTree(const std::string& listing) {
    std::vector<Accessible> tree;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        if (fields.size() != 5) continue;
        tree.push_back({std::atoi(fields[0].c_str()), fields[1], Unescape(fields[2]), Unescape(fields[3]),
                        Unescape(fields[4])});
    }
    return tree;
}

struct AccessibilityProgramTest : ::testing::Test {
    static inline std::string accessibilityBus;
    ProgramUnderTest program;
    std::vector<Accessible> tree;

    // Starts the accessibility bus on the private session bus before the program, so the
    // program and the client both find this one (and no address left on the X root
    // window by an earlier bus).
    static void SetUpTestSuite() {
        const std::string reply = Shell(
            "dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress");
        const std::size_t begin = reply.find_first_not_of(" \n");
        const std::size_t end = reply.find_last_not_of(" \n");
        if (begin != std::string::npos) accessibilityBus = reply.substr(begin, end - begin + 1);
    }

    void SetUp() override {
        ASSERT_NE(accessibilityBus.find("unix:"), std::string::npos) << "no accessibility bus: " << accessibilityBus;
        program.Start();
        // The program registers on the bus a moment after its window appears.
        ASSERT_TRUE(WaitUntil([&] {
            tree = ReadTree();
            const Accessible* field = Find("路径文本框");
            return field && !field->text.empty();
        }, 20s)) << "the program never showed its tree on the accessibility bus";
    }
    void TearDown() override { EXPECT_TRUE(program.EndsCleanlyAfter(SIGTERM, 3000ms)); }

    std::vector<Accessible> ReadTree() {
        return ParseTree(Shell("AT_SPI_BUS_ADDRESS='" + accessibilityBus + "' /usr/bin/python3 " PELMORA_ATSPI_TREE
                               " " + std::to_string(program.Pid()) + " 2>/dev/null"));
    }
    const Accessible* Find(const std::string& description) const {
        for (const Accessible& accessible : tree)
            if (accessible.description == description) return &accessible;
        return nullptr;
    }
};

}  // namespace

TEST_F(AccessibilityProgramTest, ControlsAreFoundByTheirIdAndNamedWithWhatPeopleRead) {
    ASSERT_GE(tree.size(), 2u);
    EXPECT_EQ(tree[0].depth, 0);
    EXPECT_EQ(tree[0].role, "application");
    const Accessible& window = tree[1];
    EXPECT_EQ(window.role, "frame");
    EXPECT_EQ(window.description, "Form1");
    EXPECT_EQ(window.name, "Pelmorav3.50.1101正式版");

    const Accessible* folder = Find("路径文本框");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->role, "text");
    EXPECT_EQ(folder->text, (program.Directory() / "Snap").string());
    EXPECT_EQ(folder->name, "保存路径：");

    const Accessible* startStop = Find("Check1");
    ASSERT_NE(startStop, nullptr);
    EXPECT_EQ(startStop->role, "check box");
    EXPECT_EQ(startStop->name, "启动／停止");

    const Accessible* slot = Find("坐标颜色(3)");
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->role, "text");
}

TEST_F(AccessibilityProgramTest, EveryWidgetInTheTreeHasADescriptionOfItsOwn) {
    std::map<std::string, int> uses;
    int widgets = 0;
    for (std::size_t i = 1; i < tree.size(); ++i) {  // below the application
        const Accessible& accessible = tree[i];
        // The rows of a list are no widgets of their own.
        if (accessible.role == "list item" || accessible.role == "table cell") continue;
        ++widgets;
        EXPECT_FALSE(accessible.description.empty())
            << "a " << accessible.role << " named \"" << accessible.name << "\" at depth " << accessible.depth;
        ++uses[accessible.description];
    }
    EXPECT_GT(widgets, 100);
    for (const auto& [description, count] : uses) EXPECT_EQ(count, 1) << description << " is not unique";
}

int main(int argc, char** argv) {
    // A session bus of the test's own: re-run inside dbus-run-session, which ends the bus
    // (and the accessibility bus started on it) when the tests end.
    if (!std::getenv("PELMORA_PRIVATE_SESSION_BUS")) {
        setenv("PELMORA_PRIVATE_SESSION_BUS", "1", 1);
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0) return 127;
        self[length] = '\0';
        std::vector<char*> command{const_cast<char*>("dbus-run-session"), const_cast<char*>("--"), self};
        for (int i = 1; i < argc; ++i) command.push_back(argv[i]);
        command.push_back(nullptr);
        execvp(command[0], command.data());
        std::perror("dbus-run-session");
        return 127;
    }
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
