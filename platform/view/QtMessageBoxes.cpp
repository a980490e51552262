#include "platform/view/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include "platform/view/QtText.h"

namespace {

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & mb::kIconMask) {
        case mb::kIconWarning: return QMessageBox::Warning;
        case mb::kIconQuestion: return QMessageBox::Question;
        case mb::kIconInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtMessageBoxes::Show(MessageOwner owner, const char* text, const char* caption, unsigned style) {
    QWidget* parent = static_cast<QWidget*>(owner.widget);
    QMessageBox box(IconOf(style), QtText::FromCp932(caption != nullptr ? caption : ""), QtText::FromCp932(text != nullptr ? text : ""), QMessageBox::NoButton, parent);
    box.setObjectName("MessageBox");
    const bool question = (style & mb::kButtonMask) == mb::kYesNo;
    if (question) {
        QAbstractButton* yes = box.addButton(QString::fromUtf16(u"はい"), QMessageBox::YesRole);
        yes->setObjectName("yes");
        QAbstractButton* no = box.addButton(QString::fromUtf16(u"いいえ"), QMessageBox::NoRole);
        no->setObjectName("no");
        // Yes is the default button, as the first button of a Windows box is;
        // Esc answers No.
        box.setDefaultButton(static_cast<QPushButton*>(yes));
        box.setEscapeButton(no);
    } else {
        QAbstractButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        ok->setObjectName("ok");
        box.setEscapeButton(ok);
    }
    box.exec();
    if (!question) return mb::kIdOk;
    QAbstractButton* clicked = box.clickedButton();
    return clicked != nullptr && clicked->objectName() == QLatin1String("yes") ? mb::kIdYes : mb::kIdNo;
}
