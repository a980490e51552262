#include "wizard/view/TemplateGeometry.h"

#include <QGroupBox>
#include <QWidget>

#include "platform/view/DialogUnits.h"

namespace {

// Controls of a template carry a name; widgets that Qt makes inside its
// own widgets ("qt_..." or none) keep the geometry their owner gives them.
bool IsTemplateControl(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

QRect InPixels(const QRect& units, const DialogUnits& convert) {
    return convert.Rect(units.x(), units.y(), units.width(), units.height());
}

void ConvertControlsOf(QWidget* parent, const DialogUnits& units) {
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!IsTemplateControl(child)) continue;
        child->setGeometry(InPixels(child->geometry(), units));
        if (qobject_cast<QGroupBox*>(child) != nullptr) ConvertControlsOf(child, units);
    }
}

}  // namespace

void TemplateGeometry::ToPixels(QWidget* page, const DialogUnits& units) {
    ConvertControlsOf(page, units);
    const QSize size = units.Size(page->width(), page->height());
    page->setMinimumSize(size);
    page->resize(size);
}
