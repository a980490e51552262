#include "platform/view/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// One run of the real box per style: caption, text, icon, buttons and parent
// as shown, and the answer of a click or a key. A caller's foreign window
// cannot parent a box: it shows on its own.
TEST(QtMessageBoxes, ShowsTheBoxAskedForAndReportsTheAnswer) {
    QWidget owner;
    struct Row { QWidget* parent; unsigned style; const char* click; int key, answer; QMessageBox::Icon icon; };
    const Row rows[] = {{nullptr, mb::kWarningOk, "ok", 0, mb::kIdOk, QMessageBox::Warning},
                        {nullptr, 0x30, nullptr, Qt::Key_Escape, mb::kIdOk, QMessageBox::Warning},
                        {&owner, mb::kInformationOk, "ok", 0, mb::kIdOk, QMessageBox::Information},
                        {nullptr, mb::kOk, "ok", 0, mb::kIdOk, QMessageBox::NoIcon},
                        {&owner, mb::kQuestionYesNo, "yes", 0, mb::kIdYes, QMessageBox::Question},
                        {nullptr, mb::kQuestionYesNo, "no", 0, mb::kIdNo, QMessageBox::Question},
                        {nullptr, mb::kQuestionYesNo, nullptr, Qt::Key_Escape, mb::kIdNo, QMessageBox::Question},
                        {nullptr, mb::kQuestionYesNo, nullptr, Qt::Key_Return, mb::kIdYes, QMessageBox::Question}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.style << " " << (row.click ? row.click : "key"));
        QString shown;
        QTimer::singleShot(0, [&] {
            QMessageBox* box = nullptr;
            for (int i = 0; i < 200 && !(box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); ++i)
                QTest::qWait(10);
            ASSERT_NE(box, nullptr);
            shown = box->windowTitle() + "|" + box->text();
            for (QAbstractButton* button : box->buttons()) shown += "|" + button->text();
            EXPECT_EQ(box->icon(), row.icon);
            EXPECT_EQ(box->parentWidget(), row.parent);
            if (row.click != nullptr) QTest::mouseClick(box->findChild<QAbstractButton*>(row.click), Qt::LeftButton);
            if (row.click == nullptr) QTest::keyClick(box, static_cast<Qt::Key>(row.key));
        });
        const MessageOwner boxOwner{row.parent, row.parent == nullptr ? std::uintptr_t{77} : 0};
        EXPECT_EQ(QtMessageBoxes().Show(boxOwner, "失敗しました。\n\n終了します。", "事業概況書", row.style),
                  row.answer);
        const bool question = row.icon == QMessageBox::Question;
        EXPECT_EQ(shown, QString::fromUtf16(question ? u"事業概況書|失敗しました。\n\n終了します。|はい|いいえ"
                                                     : u"事業概況書|失敗しました。\n\n終了します。|OK"));
    }
}
