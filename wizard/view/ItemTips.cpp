#include "wizard/view/ItemTips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include "platform/view/QtText.h"

namespace {

// What a tip adds around its text: the label's frame and margin on each
// side, and the text document's own margin.
int TipPadding() {
    const int frame = QApplication::style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth);
    const int labelMargin = 1;
    const int documentMargin = static_cast<int>(QTextDocument().documentMargin());
    return 2 * (frame + labelMargin + documentMargin);
}

}  // namespace

QString ItemTips::Text(const char* names) {
    const QString plain = QtText::FromCp932(names != nullptr ? names : "");
    const QString escaped = plain.toHtmlEscaped();
    const int room = kMaxWidth - TipPadding();
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(plain) <= room)
        return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(escaped);
    return QStringLiteral("<table width=\"%1\" cellspacing=\"0\" cellpadding=\"0\"><tr><td>%2</td></tr></table>")
        .arg(room)
        .arg(escaped);
}

QString ItemTips::PlainText(const QString& tip) {
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText().trimmed();
}
