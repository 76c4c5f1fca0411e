// The main window's mouse in the view and its keys: the handlers read the
// event and call the application core, which places, selects and edits.

#include "ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QThread>

#include "ui/paint_box.h"

namespace {

TMouseClick ClickOf(QMouseEvent* event) {
    TMouseClick click;
    const QPoint at = event->position().toPoint();
    click.X = at.x();
    click.Y = at.y();
    click.Button = event->button() == Qt::RightButton    ? mbRight
                   : event->button() == Qt::MiddleButton ? mbMiddle
                                                         : mbLeft;
    const Qt::KeyboardModifiers keys = event->modifiers();
    click.Shift = keys & Qt::ShiftModifier;
    click.Ctrl = keys & Qt::ControlModifier;
    click.Alt = keys & Qt::AltModifier;
    return click;
}

// The editing keys, whose meaning depends on the mode.
std::optional<TEditKey> EditKeyOf(int key) {
    switch (key) {
    case Qt::Key_Backspace:
        return TEditKey::ekBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TEditKey::ekEnter;
    case Qt::Key_Escape:
        return TEditKey::ekEscape;
    case Qt::Key_PageUp:
        return TEditKey::ekPageUp;
    case Qt::Key_PageDown:
        return TEditKey::ekPageDown;
    case Qt::Key_Left:
        return TEditKey::ekLeft;
    case Qt::Key_Up:
        return TEditKey::ekUp;
    case Qt::Key_Right:
        return TEditKey::ekRight;
    case Qt::Key_Down:
        return TEditKey::ekDown;
    case Qt::Key_Insert:
        return TEditKey::ekInsert;
    case Qt::Key_Delete:
        return TEditKey::ekDelete;
    default:
        return std::nullopt;
    }
}

// The command keys: letters, End and Home, the function keys and the keys of
// the zoom, on both rows and the keypad. They are taken even when they do nothing.
bool IsCommandKey(int key, bool keypad) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_F1 && key <= Qt::Key_F12))
        return true;
    if (key == Qt::Key_End || key == Qt::Key_Home || key == Qt::Key_Equal || key == Qt::Key_Minus ||
        key == Qt::Key_Plus)
        return true;
    return keypad && key == Qt::Key_Asterisk;
}

} // namespace

void TMainForm::PaintBox1MouseDown(QMouseEvent* event) {
    FLastMouse = event->position().toPoint();
    if (FrameMouseDown(event))
        return;
    const TMouseClick click = ClickOf(event);
    Run([&] { FMouseRotating = FApp.Input.ViewMouseDown(click); });
}

void TMainForm::PaintBox1MouseMove(QMouseEvent* event) {
    if (FrameMouseMove(event))
        return;
    const QPoint position = event->position().toPoint();
    const Qt::KeyboardModifiers keys = event->modifiers();
    if (FApp.Hand.Holding()) {
        Run([&] { FApp.Placing.HandFollows(position.x(), position.y()); });
        return;
    }
    if (keys & Qt::ShiftModifier) {
        if (FMouseRotating && (event->buttons() & Qt::RightButton)) {
            const QPoint moved = position - FLastMouse;
            FLastMouse = position;
            if (moved != QPoint())
                Run([&] { FApp.Scene.Control().MouseRotate(moved.x(), moved.y()); });
        }
        return;
    }
    if (FApp.Hints())
        ShowStoneHint(FApp.Input.DescriptionAt(position.x(), position.y()));
}

void TMainForm::PaintBox1MouseUp(QMouseEvent*) {
    FMouseRotating = false;
    if (FrameMouseUp())
        return;
    Run([&] { FApp.Input.ViewMouseUp(); });
}

void TMainForm::ShowStoneHint(const std::optional<std::string>& caption) {
    HintLabel->setText(caption ? QString::fromStdString(" " + *caption) : QString());
    FHintLabelAction->setVisible(caption.has_value());
}

void TMainForm::ShowStoneByStone(int, int total) {
    // Every stone is shown as it is drawn, slowly enough to be followed but
    // never for more than a few seconds in all.
    const int pause = std::clamp(3000 / std::max(1, total), 0, 40);
    // Large models show as often as the screen can follow.
    if (pause > 0 || !FLastShown.isValid() || FLastShown.elapsed() >= 16) {
        PaintBox1->repaint();
        FLastShown.start();
    }
    if (pause > 0)
        QThread::msleep(static_cast<unsigned long>(pause));
}

bool TMainForm::FormKeyDown(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers keys = event->modifiers();
    const bool keypad = keys & Qt::KeypadModifier;
    const std::optional<TEditKey> editKey = EditKeyOf(key);
    // Alt + F4 is left to the system, which closes the window.
    // The desktop's Ctrl combinations (Ctrl + 0 among them) are taken where a command has them.
    const bool bound = IsCommandKey(key, keypad) ||
                       ((keys & Qt::ControlModifier) && CommandOfKey(key, keypad, static_cast<int>(keys)));
    if (!editKey && (!bound || (key == Qt::Key_F4 && (keys & Qt::AltModifier))))
        return false;
    if (FKeyBusy)
        return true;
    FKeyBusy = true;
    const bool shift = keys & Qt::ShiftModifier, ctrl = keys & Qt::ControlModifier;
    if (editKey) {
        Run([&] { FApp.Input.EditKey(*editKey, shift, ctrl, keys & Qt::AltModifier); });
    } else {
        const auto ruleHolds = [this](TCommandRule rule) { return RuleHolds(rule); };
        if (const TCommand* command = CommandOfKey(key, keypad, static_cast<int>(keys), ruleHolds))
            RunCommand(command->Id);
        Run([&] { FApp.Input.AfterCommandKey(); });
    }
    FKeyBusy = false;
    return true;
}
