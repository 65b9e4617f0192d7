#include "TextBoxView.h"

namespace velmora::qt {

TextBoxView::TextBoxView(TextBox& model, QWidget* parent)
    : QLineEdit(QString::fromStdString(model.Text()), parent) {
    // A screen reader names the box by what it shows, as it does a label.
    setAccessibleName(text());
    connect(this, &QLineEdit::textChanged, this, &QWidget::setAccessibleName);
    // textEdited comes only from the user, so writing the model never echoes back here.
    connect(this, &QLineEdit::textEdited, this,
            [&model](const QString& text) { model.setText(text.toStdString()); });
    model.changed.connect([this, &model] {
        const QString text = QString::fromStdString(model.Text());
        if (text != this->text()) {
            setText(text);
        }
    });
}

}  // namespace velmora::qt
