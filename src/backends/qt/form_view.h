// SPDX-License-Identifier: MIT
// The window on the screen: a fixed-size top-level widget holding one widget per
// headless control. User actions raise the controls' events; after every event (user,
// timer or hotkey) the widgets are synced from the controls that changed.
#pragma once

#include <QCursor>
#include <QWidget>

#include <functional>
#include <string>
#include <unordered_map>

#include "platform/controls.h"
#include "platform/view_sync.h"

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
    // The user chose line index of a list or combo box; -1 (none) is no choice.
    void ChooseLine(ItemList& list, int index);
    void RaiseMouseEvent(QObject* watched, const QMouseEvent& event);
    // A drag over or a drop on a control that takes dropped files; false for other widgets.
    bool TakeDrop(QObject* watched, QDropEvent& event);
    void SyncMousePointer(const PointerImage* custom);
    // The pointer shown over a control's widget.
    void SyncControlPointer(const Control& control, QWidget& widget);

    ControlHost& host_;
    // What changed since the widgets last mirrored the controls.
    ViewSync sync_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    // A control's widget and, for a scrolling widget, the viewport that gets its mouse input.
    std::unordered_map<const QObject*, Control*> controlOfWidget_;
    std::unordered_map<const Control*, QWidget*> viewports_;
    std::unordered_map<const Control*, QTimer*> timers_;
    // Each custom pointer image made into a cursor once.
    std::unordered_map<const PointerImage*, QCursor> cursors_;
    bool showsCustomPointer_ = false;
};

}  // namespace pelmora
