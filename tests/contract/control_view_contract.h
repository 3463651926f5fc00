// SPDX-License-Identifier: MIT
// What every view promises of the controls it shows: a user's action on a widget raises the
// control's event once and nothing else, and the widget shows what the control holds. Each
// view's suite instantiates it with a traits type that shows ViewContractForm and acts on
// its widgets as a user does:
//
//   struct Traits {
//       explicit Traits(ViewContractForm&);   // the form's window, shown
//       void Dispatch(const std::function<void()>&);  // a handler run as the view runs one
//       // What the widgets show.
//       std::vector<std::string> Lines(const ListBox&);  // and for a ComboBox
//       int ShownIndex(const ListBox&);                   // and for a ComboBox; -1: none
//       int LineCount(const TextBox&);
//       bool ShownChecked(const CheckBox&);
//       int ShownValue(const ScrollBar&);  // the control's value the thumb stands for
//       // A user's actions.
//       void ChooseRow(const ListBox&, int row);
//       void ChooseLine(const ComboBox&, int line);  // a line next to the one shown
//       void Click(const Label&);
//       void DoubleClick(const Label&);
//       void Click(const CheckBox&);
//       void Step(const ScrollBar&, ScrollStep);  // an arrow or the page area beside the thumb
//       void DragThumb(const ScrollBar&);         // from Min some way towards Max, in steps
//       void TypeLineBreakAndText(const TextBox&, const std::string&);  // at the end of the text
//   };
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"

namespace pelmora::contract {

enum class ScrollStep { LineUp, LineDown, PageDown };

// One control of each kind the contract acts on, each event written to log.
struct ViewContractForm : ControlHost {
    ListBox list;
    ComboBox combo;
    Label label;
    TextBox lines;
    CheckBox toggle;
    ScrollBar bar{ScrollBar::Orientation::Vertical};
    std::vector<std::string> log;

    ViewContractForm() {
        list.Place(*this, nullptr, "list", -1, {10, 10, 120, 100});
        combo.Place(*this, nullptr, "combo", -1, {10, 120, 120, 22});
        label.Place(*this, nullptr, "label", -1, {10, 160, 60, 16});
        label.SetCaption("标签");
        lines.Place(*this, nullptr, "lines", -1, {150, 10, 120, 60});
        lines.SetMultiLine(true);
        toggle.Place(*this, nullptr, "toggle", -1, {150, 80, 60, 24});
        toggle.SetCaption("开关");
        toggle.SetGraphical(true);
        bar.Place(*this, nullptr, "bar", -1, {290, 8, 17, 150});
        bar.SetMax(100);

        list.onClick = [this] { log.push_back("list click " + std::to_string(list.ListIndex())); };
        combo.onClick = [this] { log.push_back("combo click " + std::to_string(combo.ListIndex())); };
        label.onClick = [this] { log.push_back("label click"); };
        label.onDblClick = [this] { log.push_back("label dblclick"); };
        lines.onChange = [this] { log.push_back("lines change"); };
        toggle.onClick = [this] { log.push_back("toggle " + std::to_string(toggle.Value())); };
        bar.onChange = [this] { log.push_back("bar change " + std::to_string(bar.Value())); };
        bar.onScroll = [this] { log.push_back("bar scroll " + std::to_string(bar.Value())); };
    }
    // The events since the last call.
    std::vector<std::string> Take() { return std::exchange(log, {}); }
};

template <typename Traits>
class ControlViewContract : public ::testing::Test {
protected:
    ViewContractForm form;
    Traits view{form};
};

TYPED_TEST_SUITE_P(ControlViewContract);

TYPED_TEST_P(ControlViewContract, ListRowsFollowTheControlAndAUserChoiceRaisesClickOnce) {
    ViewContractForm& form = this->form;
    this->view.Dispatch([&] {
        for (const char* line : {"甲", "乙", "丙"}) form.list.AddItem(line);
    });
    EXPECT_EQ(this->view.Lines(form.list), (std::vector<std::string>{"甲", "乙", "丙"}));
    EXPECT_EQ(this->view.ShownIndex(form.list), -1);
    this->view.ChooseRow(form.list, 2);
    EXPECT_EQ(form.list.ListIndex(), 2);
    EXPECT_EQ(form.Take(), std::vector<std::string>{"list click 2"});

    // From code: the row shows, and nothing is raised but the control's own Click.
    this->view.Dispatch([&] {
        form.list.AddItem("丁");
        form.list.SetListIndex(0);
    });
    EXPECT_EQ(this->view.Lines(form.list).size(), 4u);
    EXPECT_EQ(this->view.ShownIndex(form.list), 0);
    EXPECT_EQ(form.Take(), std::vector<std::string>{"list click 0"});
    // Other lines replace the rows, none chosen.
    this->view.Dispatch([&] {
        form.list.Clear();
        form.list.AddItem("戊");
    });
    EXPECT_EQ(this->view.Lines(form.list), std::vector<std::string>{"戊"});
    EXPECT_EQ(this->view.ShownIndex(form.list), -1);
}

TYPED_TEST_P(ControlViewContract, ComboShowsTheControlsLinesAndEachChoiceRaisesClickOnce) {
    ViewContractForm& form = this->form;
    this->view.Dispatch([&] {
        for (const char* line : {"一", "二", "三"}) form.combo.AddItem(line);
    });
    EXPECT_EQ(this->view.Lines(form.combo), (std::vector<std::string>{"一", "二", "三"}));
    EXPECT_EQ(this->view.ShownIndex(form.combo), -1) << "the control chose no line";
    this->view.ChooseLine(form.combo, 0);
    this->view.ChooseLine(form.combo, 1);
    EXPECT_EQ(form.combo.ListIndex(), 1);
    EXPECT_EQ(form.Take(), (std::vector<std::string>{"combo click 0", "combo click 1"}));
    this->view.Dispatch([&] { form.combo.SetListIndex(2); });
    EXPECT_EQ(this->view.ShownIndex(form.combo), 2);
    EXPECT_EQ(form.Take(), std::vector<std::string>{"combo click 2"});
}

TYPED_TEST_P(ControlViewContract, ALabelIsClickedAndTheSecondClickOfADoubleClickIsDblClick) {
    this->view.Click(this->form.label);
    EXPECT_EQ(this->form.Take(), std::vector<std::string>{"label click"});
    this->view.DoubleClick(this->form.label);
    EXPECT_EQ(this->form.Take(), (std::vector<std::string>{"label click", "label dblclick"}));
}

TYPED_TEST_P(ControlViewContract, GraphicalCheckBoxIsAToggleWhoseClickSetsTheValue) {
    ViewContractForm& form = this->form;
    this->view.Click(form.toggle);
    EXPECT_EQ(form.toggle.Value(), 1);
    EXPECT_TRUE(this->view.ShownChecked(form.toggle));
    this->view.Click(form.toggle);
    EXPECT_EQ(form.toggle.Value(), 0);
    EXPECT_FALSE(this->view.ShownChecked(form.toggle));
    EXPECT_EQ(form.Take(), (std::vector<std::string>{"toggle 1", "toggle 0"}));
    this->view.Dispatch([&] { form.toggle.SetValue(1); });
    EXPECT_TRUE(this->view.ShownChecked(form.toggle));
}

TYPED_TEST_P(ControlViewContract, MultiLineFieldKeepsCrLfLinesBothWays) {
    ViewContractForm& form = this->form;
    this->view.Dispatch([&] { form.lines.SetText("第一行\r\nsecond\r\n\r\nlast"); });
    EXPECT_EQ(this->view.LineCount(form.lines), 4);
    EXPECT_EQ(form.Take(), std::vector<std::string>{"lines change"});  // the control's own, none from the view
    this->view.TypeLineBreakAndText(form.lines, "新");
    EXPECT_EQ(form.lines.Text(), "第一行\r\nsecond\r\n\r\nlast\r\n新");
    EXPECT_EQ(this->view.LineCount(form.lines), 5);
}

TYPED_TEST_P(ControlViewContract, ScrollBarArrowsAndPagesStepTheValueAndRaiseOneChangeEach) {
    ViewContractForm& form = this->form;
    this->view.Dispatch([&] {
        form.bar.SetSmallChange(2);
        form.bar.SetLargeChange(10);
    });
    this->view.Step(form.bar, ScrollStep::LineDown);
    this->view.Step(form.bar, ScrollStep::PageDown);
    this->view.Step(form.bar, ScrollStep::LineUp);
    EXPECT_EQ(form.bar.Value(), 10);
    EXPECT_EQ(this->view.ShownValue(form.bar), 10);
    EXPECT_EQ(form.Take(), (std::vector<std::string>{"bar change 2", "bar change 12", "bar change 10"}));

    // At the end of the range a step changes nothing and raises nothing.
    this->view.Dispatch([&] { form.bar.SetValue(100); });
    form.Take();
    this->view.Step(form.bar, ScrollStep::PageDown);
    EXPECT_EQ(form.bar.Value(), 100);
    EXPECT_EQ(form.Take(), std::vector<std::string>{});

    // Min above Max: Min at the top, the arrow down goes towards Max.
    this->view.Dispatch([&] {
        form.bar.SetMin(50);
        form.bar.SetMax(-50);
        form.bar.SetValue(50);
    });
    form.Take();
    this->view.Step(form.bar, ScrollStep::LineDown);
    EXPECT_EQ(form.bar.Value(), 48);
    EXPECT_EQ(this->view.ShownValue(form.bar), 48);
    EXPECT_EQ(form.Take(), std::vector<std::string>{"bar change 48"});
}

TYPED_TEST_P(ControlViewContract, DraggingTheThumbRaisesScrollAtEachStepThenOneChange) {
    ViewContractForm& form = this->form;
    this->view.Dispatch([&] { form.bar.SetLargeChange(10); });
    this->view.DragThumb(form.bar);
    // The value follows the thumb at once: each Scroll sees where it stands.
    const std::vector<std::string> events = form.Take();
    const std::string value = std::to_string(form.bar.Value());
    ASSERT_GE(events.size(), 2u);
    for (std::size_t i = 0; i + 1 < events.size(); ++i) EXPECT_EQ(events[i].rfind("bar scroll ", 0), 0u) << events[i];
    EXPECT_EQ(events[events.size() - 2], "bar scroll " + value);
    EXPECT_GT(form.bar.Value(), 0);
    EXPECT_EQ(events.back(), "bar change " + value);
    EXPECT_EQ(this->view.ShownValue(form.bar), form.bar.Value());
}

REGISTER_TYPED_TEST_SUITE_P(ControlViewContract, ListRowsFollowTheControlAndAUserChoiceRaisesClickOnce,
                            ComboShowsTheControlsLinesAndEachChoiceRaisesClickOnce,
                            ALabelIsClickedAndTheSecondClickOfADoubleClickIsDblClick,
                            GraphicalCheckBoxIsAToggleWhoseClickSetsTheValue, MultiLineFieldKeepsCrLfLinesBothWays,
                            ScrollBarArrowsAndPagesStepTheValueAndRaiseOneChangeEach,
                            DraggingTheThumbRaisesScrollAtEachStepThenOneChange);

}  // namespace pelmora::contract
