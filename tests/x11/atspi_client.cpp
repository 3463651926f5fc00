// SPDX-License-Identifier: MIT
#include "atspi_client.h"

#include <cstdlib>
#include <sstream>

#include "x11_test_support.h"

namespace pelmora::testing {

namespace {

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

}  // namespace

std::string AccessibleTree::StartAccessibilityBus() {
    const std::string reply =
        Shell("dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress");
    const std::size_t begin = reply.find_first_not_of(" \n");
    const std::size_t end = reply.find_last_not_of(" \n");
    return begin == std::string::npos ? std::string() : reply.substr(begin, end - begin + 1);
}

AccessibleTree AccessibleTree::Read(const std::string& busAddress, pid_t pid) {
    AccessibleTree tree;
    std::istringstream lines(Shell("AT_SPI_BUS_ADDRESS='" + busAddress + "' /usr/bin/python3 " PELMORA_ATSPI_TREE " " +
                                   std::to_string(pid) + " 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        if (fields.size() != 5) continue;
        tree.objects_.push_back(
            {std::atoi(fields[0].c_str()), fields[1], Unescape(fields[2]), Unescape(fields[3]), Unescape(fields[4])});
    }
    return tree;
}

bool AccessibleTree::DoAction(const std::string& busAddress, pid_t pid, const std::string& name) {
    return Shell("AT_SPI_BUS_ADDRESS='" + busAddress + "' /usr/bin/python3 " PELMORA_ATSPI_TREE " " +
                 std::to_string(pid) + " '" + name + "' >/dev/null 2>&1; echo $?") == "0\n";
}

const Accessible* AccessibleTree::Find(const std::string& description) const {
    for (const Accessible& accessible : objects_)
        if (accessible.description == description) return &accessible;
    return nullptr;
}

std::string AccessibleTree::TextOf(const std::string& description) const {
    const Accessible* accessible = Find(description);
    return accessible ? accessible->text : "<missing>";
}

}  // namespace pelmora::testing
