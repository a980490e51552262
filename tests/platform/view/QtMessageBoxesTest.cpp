#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

#include "platform/view/QtMessageBoxes.h"

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget* parent = nullptr;
};

// Waits for the modal box, notes what it shows, then acts on it.
void WhenBoxAppears(SeenBox& seen, std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [&seen, act]() {
        QMessageBox* box = nullptr;
        for (int i = 0; i < 200 && box == nullptr; ++i) {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) QTest::qWait(10);
        }
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        act(box);
    });
}

void Click(QMessageBox* box, const char* name) {
    QAbstractButton* button = box->findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

TEST(QtMessageBoxes, WarningShowsCaptionTextAndOneOkButton) {
    QtMessageBoxes boxes;
    SeenBox seen;
    WhenBoxAppears(seen, [](QMessageBox* box) { Click(box, "ok"); });
    int answer = boxes.Show({}, "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。", "事業概況書",
                            mb::kWarningOk);
    EXPECT_EQ(answer, mb::kIdOk);
    EXPECT_EQ(seen.caption, QString::fromUtf16(u"事業概況書"));
    EXPECT_EQ(seen.text, QString::fromUtf16(u"XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    EXPECT_EQ(seen.parent, nullptr);
}

TEST(QtMessageBoxes, QuestionHasYesAndNoAndReportsTheClickedOne) {
    QtMessageBoxes boxes;
    QWidget owner;
    SeenBox seen;
    WhenBoxAppears(seen, [](QMessageBox* box) { Click(box, "yes"); });
    EXPECT_EQ(boxes.Show({&owner, 0}, "作成しますか？", "事業概況書", mb::kQuestionYesNo), mb::kIdYes);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_EQ(seen.parent, &owner);

    WhenBoxAppears(seen, [](QMessageBox* box) { Click(box, "no"); });
    EXPECT_EQ(boxes.Show({&owner, 0}, "q", "c", mb::kQuestionYesNo), mb::kIdNo);

    // Esc answers No; Enter takes the default, Yes.
    WhenBoxAppears(seen, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(boxes.Show({}, "q", "c", mb::kQuestionYesNo), mb::kIdNo);
    WhenBoxAppears(seen, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(boxes.Show({}, "q", "c", mb::kQuestionYesNo), mb::kIdYes);
}

TEST(QtMessageBoxes, InformationAndTheRawStyleOfTheAccountingCore) {
    QtMessageBoxes boxes;
    SeenBox seen;
    WhenBoxAppears(seen, [](QMessageBox* box) { Click(box, "ok"); });
    EXPECT_EQ(boxes.Show({}, "i", "c", mb::kInformationOk), mb::kIdOk);
    EXPECT_EQ(seen.icon, QMessageBox::Information);

    // A caller's foreign window cannot parent the box: it shows on its own.
    WhenBoxAppears(seen, [](QMessageBox* box) { Click(box, "ok"); });
    EXPECT_EQ(boxes.Show({nullptr, 77}, "動作環境が不正です。", "事業概況書", 0x30), mb::kIdOk);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.parent, nullptr);
    EXPECT_EQ(seen.text, QString::fromUtf16(u"動作環境が不正です。"));
}
