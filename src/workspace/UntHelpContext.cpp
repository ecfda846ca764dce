#include "workspace/UntHelpContext.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* Property = "merovanHelpContext";

} // namespace

void SetHelpContext(QWidget* widget, int context) {
    widget->setProperty(Property, context);
}

int HelpContext(const QWidget* widget) {
    return widget->property(Property).toInt();
}

int InheritedHelpContext(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (const int context = HelpContext(widget))
            return context;
    return 0;
}
