#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace velmora::qt {

// Qt's own interface of a label has only a name. This one also offers the label's text
// through the text interface, which is what screen readers read static text with on the
// AT-SPI bus; it keeps Qt's name (the caption) and labelled-by relations. Install it with
// QAccessible::installFactory; it answers only for LabelView.
QAccessibleInterface* labelAccessible(const QString& className, QObject* object);

}  // namespace velmora::qt
