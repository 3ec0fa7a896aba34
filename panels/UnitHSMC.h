#pragma once

#include "panels/FormPanel.h"

#include <QPushButton>

class QLabel;
struct THsmcErrors;

inline constexpr const char* HSMC_BACKGROUND = "HSMC_DLG_BK";
inline constexpr int32_t HSMC_ID_VERIFY = 0;

// The HSMC panel: the loopback test of the expansion connector, with the failing pin pairs
// listed in a message box.
class TFormHSMC : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on HSMC_DLG_BK, with Verify disabled and no result.
    TFormHSMC(QWidget* owner, THost& host);

    /// Verify is usable only with a connected board.
    void AttachBoard(TBoard* board) override;
    void DetachBoard() override;

    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// Runs the loopback test and shows its result.
    void ButtonVerifyClick();

    QLabel* LabelCaption;
    QLabel* LabelInstallHint;
    QLabel* LabelInstall;
    QLabel* LabelReinstall;
    QLabel* LabelResult;
    QPushButton* ButtonVerify;
    TButtonManager& Buttons() const { return m_Buttons; }

protected:
    void ButtonClick(TButtonManager& group, int32_t id) override;

private:
    bool RunTest(bool& passed);
    void ShowResult(bool passed);
    void SetVerifyEnabled(bool enabled);

    TButtonManager& m_Buttons;
};
