#include "panels/UnitSDCARD.h"

#include "board/Board.h"
#include "host/Host.h"
#include "ops/SDCardOps.h"
#include "ops/SDCardText.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QLabel>
#include <QPushButton>

namespace
{

constexpr const char* SDCARD_FONT = "Arial";
constexpr int SDCARD_TITLE_POINTS = 10;
constexpr int SDCARD_REPORT_POINTS = 8;
constexpr const char* SDCARD_READ_CAPTION = "Read";
constexpr const char* SDCARD_READ_STRIP = "NORMAL_BTN";

// Titles on the background's section bands, right of their cyan ticks.
const QRect LABEL_CID_RECT(30, 4, 280, 20);
const QRect LABEL_CSD_RECT(30, 112, 280, 20);
const QRect LABEL_FAT_RECT(30, 220, 200, 18);
const QRect LABEL_SDCARD_CID_RECT(32, 24, 280, 97);
const QRect LABEL_SDCARD_CSD_RECT(32, 132, 272, 89);
const QRect LABEL_SDCARD_FAT_RECT(32, 238, 193, 25);
const QRect BUTTON_SDCARD_RECT(288, 226, 64, 17);

QLabel* MakeTitle(QWidget* parent, const QRect& rect, const char* text)
{
    QLabel* label =
        MakeLabel(parent, rect, PointFont(QString::fromLatin1(SDCARD_FONT), SDCARD_TITLE_POINTS),
                  Qt::AlignLeft | Qt::AlignVCenter);
    label->setText(QString::fromLatin1(text));
    SetLabelColour(label, QColor(TITLE_CYAN));
    return label;
}

// A fixed box whose text wraps at word boundaries.
QLabel* MakeReport(QWidget* parent, const QRect& rect)
{
    QLabel* label =
        MakeLabel(parent, rect, PointFont(QString::fromLatin1(SDCARD_FONT), SDCARD_REPORT_POINTS),
                  Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    SetLabelColour(label, QColor(Qt::white));
    return label;
}

} // namespace

TFormSDCARD::TFormSDCARD(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(SDCARD_BACKGROUND)),
      LabelCID(MakeTitle(this, LABEL_CID_RECT, SDCARD_TITLE_CID)),
      LabelCSD(MakeTitle(this, LABEL_CSD_RECT, SDCARD_TITLE_CSD)),
      LabelFAT(MakeTitle(this, LABEL_FAT_RECT, SDCARD_TITLE_FAT)),
      LabelSDCARD_CID(MakeReport(this, LABEL_SDCARD_CID_RECT)),
      LabelSDCARD_CSD(MakeReport(this, LABEL_SDCARD_CSD_RECT)),
      LabelSDCARD_FAT(MakeReport(this, LABEL_SDCARD_FAT_RECT)),
      ButtonSDCARD(AddHiddenButton(BUTTON_SDCARD_RECT, QString::fromLatin1(SDCARD_READ_CAPTION))),
      m_Buttons(AddButtonGroup(bmPush))
{
    AddSkinnedButton(m_Buttons, ID_SDCARD_READ, ButtonSDCARD,
                     QString::fromLatin1(SDCARD_READ_STRIP));
    EnableRead(false);
}

void TFormSDCARD::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    EnableRead(board && board->IsConnected());
}

void TFormSDCARD::DetachBoard()
{
    EnableRead(false);
    TFormPanel::DetachBoard();
}

void TFormSDCARD::ButtonClick(TButtonManager&, int32_t id)
{
    if (id == ID_SDCARD_READ)
        ButtonSDCARDClick();
}

void TFormSDCARD::ButtonSDCARDClick()
{
    EnableRead(false);
    ClearReports();
    // A lost link reaches the main window only when the click ends, after the box. Read is
    // enabled again all the same: the main window's disconnect leaves the panel attached.
    ShowSdCardInfo();
    EnableRead(true);
}

void TFormSDCARD::ShowSdCardInfo()
{
    TSDCardInfo info;
    const TOpResult result = Exchange([&info](TBoard& board) { return QuerySDCard(board, info); });
    const QString failed = QString::fromLatin1(SDCARD_FAILED_TEXT);
    switch (result)
    {
    case TOpResult::Done:
        LabelSDCARD_CSD->setText(info.Csd);
        LabelSDCARD_CID->setText(info.Cid);
        LabelSDCARD_FAT->setText(info.FileSystem);
        ShowInfo(QString::fromLatin1(SDCARD_READ_OK_TEXT), TInfoColour::Green);
        return;
    case TOpResult::Refused:
        // No card: the board answered, the link stays.
        ShowInfo(failed, TInfoColour::Red);
        Host().ShowMessage(THost::mkWarning, QString::fromLatin1(SDCARD_ABSENT_TEXT));
        return;
    default:
        ClearReports();
        ShowInfo(failed, TInfoColour::Red);
        Host().ShowMessage(THost::mkError, failed);
    }
}

TBoardAreas TFormSDCARD::BoardAreas() const
{
    return {TBoardArea::SDCARD};
}

void TFormSDCARD::EnableRead(bool enable)
{
    ButtonSDCARD->setEnabled(enable);
    m_Buttons.SetEnabled(ID_SDCARD_READ, enable);
}

void TFormSDCARD::ClearReports()
{
    LabelSDCARD_CID->clear();
    LabelSDCARD_CSD->clear();
    LabelSDCARD_FAT->clear();
}
