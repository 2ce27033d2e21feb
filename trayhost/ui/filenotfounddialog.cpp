#include "trayhost/ui/filenotfounddialog.h"

#include "platform/codepage.h"
#include "platform/sound.h"
#include "trayhost/resources/ids.h"
#include "trayhost/resources/strings.h"
#include "trayhost/ui/windowcentring.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace trayhost {

namespace {

constexpr int kIconPixels = 32;
// Wide enough for a question naming two long paths on a few lines.
constexpr int kTextWidth = 460;

struct AnswerButton {
    FileNotFoundChoice choice;
    const char* text;
};

constexpr AnswerButton kButtons[] = {
    {FileNotFoundChoice::Yes, kButtonYes},
    {FileNotFoundChoice::YesToAll, kButtonYesToAll},
    {FileNotFoundChoice::No, kButtonNo},
    {FileNotFoundChoice::NoToAll, kButtonNoToAll},
    {FileNotFoundChoice::Cancel, kButtonCancelPrompt},
};

QString FromSystemText(const std::string& text)
{
    return QString::fromStdString(platform::CodePage::System().ToUtf8(text));
}

}  // namespace

FileNotFoundDialog::FileNotFoundDialog()
    : text_(new QLabel), applyToAllPlaylists_(new QCheckBox(QString::fromUtf8(kApplyToAllPlaylistsCaption)))
{
    setObjectName(QString::number(kDialogFileNotFound));
    setWindowTitle(QString::fromUtf8(kFileNotFoundTemplateTitle));

    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(kIconPixels, kIconPixels));
    icon->setAlignment(Qt::AlignTop);
    text_->setObjectName(QString::number(kControlFileNotFoundText));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setFixedWidth(kTextWidth);
    applyToAllPlaylists_->setObjectName(QString::number(kControlApplyToAllPlaylists));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const AnswerButton& answer : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(answer.text));
        button->setObjectName(QString::number(static_cast<int32_t>(answer.choice)));
        button->setAutoDefault(false);
        button->setDefault(answer.choice == FileNotFoundChoice::Yes);
        const bool readCheckBox = answer.choice != FileNotFoundChoice::Cancel;
        connect(button, &QPushButton::clicked, this,
                [this, answer, readCheckBox] { Answer(answer.choice, readCheckBox); });
        buttons->addWidget(button);
    }

    auto* question = new QHBoxLayout;
    question->addWidget(icon);
    question->addWidget(text_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(applyToAllPlaylists_);
    layout->addLayout(buttons);
}

FileNotFoundAnswer FileNotFoundDialog::Ask(const FileNotFoundQuestion& question)
{
    text_->setText(FromSystemText(FileNotFoundText(question)));
    setWindowTitle(FromSystemText(FileNotFoundTitle(question)));
    adjustSize();
    CenterWindow(this);
    platform::MessageBeep(platform::kBeepQuestion);
    answer_ = {};
    // A modal dialog opens in front of the program's windows, with the focus.
    exec();
    return answer_;
}

// The focus starts on the check box, where Space toggles it. Styles draw the focus only once a key
// has moved it (showing a window forgets that), so the person would not see where a key goes.
void FileNotFoundDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void FileNotFoundDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    Answer(FileNotFoundChoice::No, false);
}

void FileNotFoundDialog::reject()
{
    Answer(FileNotFoundChoice::Cancel, false);
}

void FileNotFoundDialog::Answer(FileNotFoundChoice choice, bool readCheckBox)
{
    answer_.choice = choice;
    if (readCheckBox) answer_.applyToAllPlaylists = applyToAllPlaylists_->isChecked();
    done(static_cast<int>(choice));
}

}  // namespace trayhost
