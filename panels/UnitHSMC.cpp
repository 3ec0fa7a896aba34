#include "panels/UnitHSMC.h"

#include "board/Board.h"
#include "host/Host.h"
#include "ops/HSMCOps.h"
#include "ops/HsmcReport.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QLabel>

namespace
{

const char* const LABEL_FONT = "Arial";
constexpr int CAPTION_POINTS = 10;
constexpr int TEXT_POINTS = 8;
constexpr int RESULT_POINTS = 10;
constexpr QRgb REINSTALL_GREY = qRgb(128, 128, 128);

const QRect CAPTION_RECT(24, 24, 249, 17);
const QRect INSTALL_HINT_RECT(24, 56, 249, 17);
const QRect INSTALL_RECT(24, 80, 249, 64);
const QRect REINSTALL_RECT(24, 152, 249, 96);
// Centred under Verify.
const QRect RESULT_RECT(304, 256, 40, 17);
const QRect BUTTON_VERIFY_RECT(292, 234, 64, 17);

const char* const INSTALL_TEXT =
    "Please make sure the HSMC loopback adapter has connected to the HSMC connector of Velmora "
    "Starter Board.\n"
    "Otherwise please follow the steps below.\n";
const char* const REINSTALL_TEXT = "1. Turn off the Velmora Starter Board\n"
                                   "2. Plug the HSMC loopback adapter into\n"
                                   "    the HSMC connector of Velmora\n"
                                   "    Starter Board\n"
                                   "3. Turn on the Velmora Starter Board\n"
                                   "4. Re-launch the HX9 control panel\n";

QFont LabelFont(int points)
{
    return PointFont(QString::fromLatin1(LABEL_FONT), points);
}

} // namespace

TFormHSMC::TFormHSMC(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(HSMC_BACKGROUND)),
      LabelCaption(MakeTextLabel(this, CAPTION_RECT, LabelFont(CAPTION_POINTS),
                                 "HSMC Loopback Verify", QColor(TITLE_CYAN))),
      LabelInstallHint(MakeTextLabel(this, INSTALL_HINT_RECT, LabelFont(CAPTION_POINTS),
                                     "Loopback Installation", QColor(TITLE_CYAN))),
      LabelInstall(
          MakeTextLabel(this, INSTALL_RECT, LabelFont(TEXT_POINTS), INSTALL_TEXT, Qt::white)),
      LabelReinstall(MakeTextLabel(this, REINSTALL_RECT, LabelFont(TEXT_POINTS), REINSTALL_TEXT,
                                   QColor(REINSTALL_GREY))),
      LabelResult(MakeLabel(this, RESULT_RECT,
                            PointFont(QString::fromLatin1(LABEL_FONT), RESULT_POINTS, true),
                            Qt::AlignHCenter | Qt::AlignTop)),
      ButtonVerify(AddHiddenButton(BUTTON_VERIFY_RECT, QStringLiteral("Verify"))),
      m_Buttons(AddButtonGroup(bmPush))
{
    LabelInstall->setWordWrap(true);
    LabelReinstall->setWordWrap(true);
    AddSkinnedButton(m_Buttons, HSMC_ID_VERIFY, ButtonVerify, QStringLiteral("NORMAL_BTN"));
    SetVerifyEnabled(false);
}

void TFormHSMC::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    SetVerifyEnabled(board && board->IsConnected());
}

void TFormHSMC::DetachBoard()
{
    SetVerifyEnabled(false);
    TFormPanel::DetachBoard();
}

TBoardAreas TFormHSMC::BoardAreas() const
{
    return {TBoardArea::HSMC};
}

void TFormHSMC::ButtonClick(TButtonManager&, int32_t id)
{
    if (id == HSMC_ID_VERIFY)
        ButtonVerifyClick();
}

void TFormHSMC::ButtonVerifyClick()
{
    SetVerifyEnabled(false);
    LabelResult->clear();
    LabelResult->repaint();
    bool passed = false;
    // A lost link reaches the main window when the click ends, after the box.
    const bool linked = RunTest(passed);
    SetVerifyEnabled(true);
    if (linked)
        ShowResult(passed);
}

// False only when the link failed; passed when the adapter looped every signal back.
bool TFormHSMC::RunTest(bool& passed)
{
    ShowInfo(QString::fromLatin1(HSMC_TESTING_TEXT), TInfoColour::Yellow);
    THsmcErrors errors;
    const TOpResult result =
        Exchange([&errors](TBoard& board) { return RunHsmcLoopback(board, errors); });
    passed = false;
    switch (result)
    {
    case TOpResult::Done:
        break;
    case TOpResult::Refused:
        ShowInfo(QString::fromLatin1(HSMC_FAILED_TEXT), TInfoColour::Red);
        return true;
    default:
        ShowInfo(QString::fromLatin1(HSMC_FAILED_TEXT), TInfoColour::Red);
        Host().ShowMessage(THost::mkError, QString::fromLatin1(HSMC_FAILED_TEXT));
        return false;
    }
    if (errors.None())
    {
        ShowInfo(QString::fromLatin1(HSMC_PASS_TEXT), TInfoColour::Green);
        passed = true;
        return true;
    }
    ShowInfo(QString::fromLatin1(HSMC_NG_TEXT), TInfoColour::Red);
    Host().ShowMessage(THost::mkInformation, HsmcReportText(errors.Io, errors.Xcvr));
    return true;
}

void TFormHSMC::ShowResult(bool passed)
{
    LabelResult->setText(QString::fromLatin1(passed ? HSMC_RESULT_PASS : HSMC_RESULT_NG));
    SetLabelColour(LabelResult, QColor(passed ? INFO_GREEN : INFO_RED));
}

void TFormHSMC::SetVerifyEnabled(bool enabled)
{
    ButtonVerify->setEnabled(enabled);
    m_Buttons.SetEnabled(HSMC_ID_VERIFY, enabled);
}
