#include "CaptionViews.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora::qt {
namespace {

// Tighter than this and the letters visibly crowd; a caption that still doesn't fit is
// clipped rather than made unreadable.
constexpr int kTightestSpacingPercent = 90;

bool fits(const QLabel& label, const QFont& font) {
    const QRect room(0, 0, label.width(), QWIDGETSIZE_MAX);
    const QRect needed = QFontMetrics(font).boundingRect(
        room, static_cast<int>(label.alignment()) | Qt::TextWordWrap, label.text());
    return needed.width() <= label.width() && needed.height() <= label.height();
}

QString captionOf(const Label& model) {
    return QString::fromStdString(model.Caption());
}

}  // namespace

FrameView::FrameView(Frame& model, QWidget* parent) : QGroupBox(captionOf(model), parent) {
    model.changed.connect([this, &model] { setTitle(captionOf(model)); });
}

void FrameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect border = rect().adjusted(0, metrics.height() / 2, -2, -2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border);
    const QRect titleArea(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(titleArea, palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleArea, Qt::AlignCenter, title());
}

ButtonView::ButtonView(Button& model, RaiseEvent raise, QWidget* parent)
    : QPushButton(captionOf(model), parent) {
    model.changed.connect([this, &model] { setText(captionOf(model)); });
    connect(this, &QPushButton::clicked, this,
            [raise = std::move(raise)] { raise(EventKind::Click, 0); });
}

LabelView::LabelView(Label& model, RaiseEvent raise, QWidget* parent)
    : QLabel(captionOf(model), parent), raise_(std::move(raise)) {
    // A caption is text, never markup, whatever it holds.
    setTextFormat(Qt::PlainText);
    model.changed.connect([this, &model] { setText(captionOf(model)); });
}

void LabelView::fitCaption() {
    QFont font = this->font();
    for (int spacing = 100; spacing >= kTightestSpacingPercent; --spacing) {
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
        if (fits(*this, font)) {
            setFont(font);
            return;
        }
    }
}

void LabelView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LabelView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        raise_(EventKind::Click, 0);
    }
}

}  // namespace velmora::qt
