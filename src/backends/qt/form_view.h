// The window on the screen: a fixed-size top-level widget holding one widget per
// headless control. User actions raise the controls' events; after every event (user,
// timer or hotkey) the widgets are synced from the controls that changed.
#pragma once

#include <QCursor>
#include <QWidget>

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/controls.h"

class QDropEvent;
class QMouseEvent;
class QTimer;

namespace pelmora {

class FormView : public QWidget {
public:
    // name is the window's object name and accessible description, its id for test tools.
    FormView(ControlHost& host, const std::string& caption, int clientWidth, int clientHeight,
             const std::string& name = "Form1");
    ~FormView() override;

    // Runs an event handler of the controls, then syncs the widgets.
    void Dispatch(const std::function<void()>& handler);
    // Mirrors every control whose state changed since the last sync.
    void Sync();

    // Called when the window is asked to close, before it closes.
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWidgets();
    void ConnectUserActions(Control& control, QWidget& widget);
    // Runs the handler of a user's action on control's widget; afterwards the widget
    // mirrors the control again even if the handler left the control unchanged.
    void DispatchUserAction(Control& control, const std::function<void()>& handler);
    // The user chose line index of a list or combo box; -1 (none) is no choice.
    void ChooseLine(ItemList& list, int index);
    void RaiseMouseEvent(QObject* watched, const QMouseEvent& event);
    // A drag over or a drop on a control that takes dropped files; false for other widgets.
    bool TakeDrop(QObject* watched, QDropEvent& event);
    void SyncTimer(const Timer& timer);
    void SyncMousePointer();
    // The pointer shown over a control's widget, set only when the control changed it.
    void SyncControlPointer(const Control& control, QWidget& widget);

    ControlHost& host_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    // A control's widget and, for a scrolling widget, the viewport that gets its mouse input.
    std::unordered_map<const QObject*, Control*> controlOfWidget_;
    std::unordered_map<const Control*, QWidget*> viewports_;
    std::unordered_map<const Control*, std::uint64_t> syncedRevision_;
    std::unordered_map<const Control*, QTimer*> timers_;
    std::unordered_map<const Control*, std::uint64_t> timerRun_;
    std::unordered_map<const Control*, std::pair<MousePointer, const PointerImage*>> shownPointers_;
    // Each custom pointer image made into a cursor once.
    std::unordered_map<const PointerImage*, QCursor> cursors_;
    std::uint64_t syncedFocus_ = 0;
    std::uint64_t syncedPointer_ = 0;
    std::uint64_t syncedWindow_ = 0;
    bool showsCustomPointer_ = false;
    // A left double click came last: the release that ends it clicks no label.
    bool leftDoubleClicked_ = false;
};

}  // namespace pelmora
