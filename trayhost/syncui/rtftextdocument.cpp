#include "trayhost/syncui/rtftextdocument.h"

#include <QTextCursor>
#include <QTextDocument>

namespace trayhost {

namespace {

QTextCharFormat CharFormatOf(const RtfFormat& format)
{
    QTextCharFormat charFormat;
    charFormat.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    charFormat.setFontItalic(format.italic);
    charFormat.setFontUnderline(format.underline);
    charFormat.setFontPointSize(format.halfPoints / 2.0);
    return charFormat;
}

}  // namespace

void FillTextDocument(QTextDocument& target, const RtfDocument& document)
{
    target.clear();
    QTextCursor cursor(&target);
    bool firstParagraph = true;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        if (!firstParagraph) cursor.insertBlock();
        firstParagraph = false;
        for (const RtfRun& run : paragraph.runs) {
            QString text = QString::fromUtf8(run.text);
            text.replace(QLatin1Char('\n'), QChar::LineSeparator);
            cursor.insertText(text, CharFormatOf(run.format));
        }
    }
}

}  // namespace trayhost
