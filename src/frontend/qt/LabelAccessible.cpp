#include "LabelAccessible.h"

#include <QAccessibleWidget>
#include <QLabel>

#include "CaptionViews.h"

namespace velmora::qt {
namespace {

// Read-only text without a caret or selection: the edits and selection calls do nothing.
class LabelInterface : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit LabelInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && label().accessibleName().isEmpty()) {
            return label().text();
        }
        return QAccessibleWidget::text(kind);
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) && label().buddy() != nullptr) {
            found.append(
                {QAccessible::queryAccessibleInterface(label().buddy()), QAccessible::Labelled});
        }
        return found;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int start, int end) const override {
        return label().text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(label().text().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    const QLabel& label() const { return static_cast<const QLabel&>(*widget()); }
};

}  // namespace

QAccessibleInterface* labelAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(LabelView::staticMetaObject.className())) {
        return nullptr;
    }
    return new LabelInterface(static_cast<LabelView*>(object));
}

}  // namespace velmora::qt
