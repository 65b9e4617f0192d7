#include "ControlViews.h"

#include "AccessibleNames.h"
#include "CaptionViews.h"
#include "DriveListView.h"
#include "FileListView.h"
#include "KeyPressForwarder.h"
#include "PictureBoxView.h"
#include "TextBoxView.h"
#include "app/MainForm.h"

namespace velmora::qt {
namespace {

Qt::Alignment alignmentOf(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case Alignment::Center:
            return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QLabel* labelView(Label& model, RaiseEvent raise, QWidget* parent) {
    auto* label = new LabelView(model, std::move(raise), parent);
    label->setAlignment(alignmentOf(model.description().alignment));
    // A caption taller than one line (the credit) breaks at spaces to fit its width.
    label->setWordWrap(true);
    return label;
}

QWidget* newView(Control& control, const RaiseEvent& raise, QWidget* parent) {
    switch (control.kind()) {
        case ControlKind::Frame:
            return new FrameView(static_cast<Frame&>(control), parent);
        case ControlKind::Button:
            return new ButtonView(static_cast<Button&>(control), raise, parent);
        case ControlKind::Label:
            return labelView(static_cast<Label&>(control), raise, parent);
        case ControlKind::TextBox:
            return new TextBoxView(static_cast<TextBox&>(control), parent);
        case ControlKind::FileList:
            return new FileListView(static_cast<FileList&>(control), raise, parent);
        case ControlKind::DriveList:
            return new DriveListView(static_cast<DriveList&>(control), raise, parent);
        case ControlKind::PictureBox:
            return new PictureBoxView(static_cast<PictureBox&>(control), parent);
    }
    return nullptr;
}

void applyForeground(QWidget& view, const Colour& colour) {
    if (colour.role != Colour::Role::Rgb) {
        return;  // the system's colours of each kind of control
    }
    QPalette palette = view.palette();
    const QColor rgb(colour.red, colour.green, colour.blue);
    palette.setColor(QPalette::WindowText, rgb);
    palette.setColor(QPalette::Text, rgb);
    palette.setColor(QPalette::ButtonText, rgb);
    view.setPalette(palette);
}

void dress(QWidget& view, const ControlDescription& description, const Layout& layout) {
    view.setObjectName(QString::fromStdString(description.name));
    view.setAccessibleDescription(accessibleDescriptionOf(description.name));
    view.setGeometry(layout.rect(description.place));
    view.setFont(controlFont(description.font));
    if (!description.toolTip.empty()) {
        view.setToolTip(QString::fromStdString(description.toolTip));
    }
    applyForeground(view, description.foreground);
    if (description.pointer == Pointer::PointingHand) {
        view.setCursor(Qt::PointingHandCursor);
    }
}

}  // namespace

QWidget* createView(Control& control, MainForm& form, QWidget* parent, const Layout& layout) {
    const RaiseEvent raise = [&form, name = control.name()](EventKind kind, std::int16_t code) {
        form.raise(name, kind, code);
    };
    QWidget* view = newView(control, raise, parent);
    dress(*view, control.description(), layout);
    if (auto* label = dynamic_cast<LabelView*>(view)) {
        label->fitCaption();
    }
    control.focusRequested.connect([view] { view->setFocus(Qt::OtherFocusReason); });
    if (form.hasHandler(control.name(), EventKind::KeyPress)) {
        new KeyPressForwarder(raise, view);
    }
    return view;
}

}  // namespace velmora::qt
