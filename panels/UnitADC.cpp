#include "panels/UnitADC.h"

#include "board/Board.h"
#include "ops/AdcOps.h"
#include "skin/SkinColours.h"
#include "skin/SkinWidgets.h"

#include <QLabel>

namespace
{

constexpr const char* ADC_FONT = "Arial";
constexpr int ADC_TITLE_POINTS = 10;
constexpr int ADC_VALUE_POINTS = 10;
constexpr QRgb ADC_VALUE_LIME = qRgb(0, 255, 0);
// The title sits on the background's heading, right of its cyan tick.
const QRect LABEL_ADC_RECT(24, 22, 300, 19);
// Inside the read-out screen of the background.
const QRect LABEL_ADC_STATUS_RECT(90, 96, 189, 161);

} // namespace

TFormADC::TFormADC(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(ADC_BACKGROUND)),
      LabelAdc(MakeLabel(this, LABEL_ADC_RECT,
                         PointFont(QString::fromLatin1(ADC_FONT), ADC_TITLE_POINTS),
                         Qt::AlignLeft | Qt::AlignVCenter)),
      LabelAdcStatus(MakeLabel(this, LABEL_ADC_STATUS_RECT,
                               PointFont(QString::fromLatin1(ADC_FONT), ADC_VALUE_POINTS),
                               Qt::AlignLeft | Qt::AlignTop))
{
    LabelAdc->setText(QString::fromLatin1(ADC_TITLE));
    SetLabelColour(LabelAdc, QColor(LIGHT_GREEN));
    LabelAdcStatus->setTextFormat(Qt::PlainText);
    SetLabelColour(LabelAdcStatus, QColor(ADC_VALUE_LIME));
}

void TFormADC::AttachBoard(TBoard* board)
{
    TFormPanel::AttachBoard(board);
    ShowInfo(QString(), TInfoColour::Green);
    if (board && board->IsConnected())
        StartPolling(ADC_POLL_MS);
}

bool TFormADC::PollBoard()
{
    return ReadAdcChannels();
}

bool TFormADC::ReadAdcChannels()
{
    if (!Board())
        return false;
    TAdcBlock block{};
    // A refused read is as bad as a lost link: the panel has nothing to show.
    const TOpResult result =
        Exchange([&block](TBoard& board) { return ReadAdc(board, block); }, TRefusal::LinkFailed);
    m_bValid = result == TOpResult::Done;
    if (m_bValid)
        m_Samples = block;
    LabelAdcStatus->setText(m_bValid ? AdcReadoutText(m_Samples) : QString());
    return m_bValid;
}

TBoardAreas TFormADC::BoardAreas() const
{
    return {TBoardArea::ADC};
}
