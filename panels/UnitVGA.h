#pragma once

#include "panels/FormPanel.h"

#include <QImage>

class QComboBox;
class QLabel;

inline constexpr const char* VGA_BACKGROUND = "TAB_DLG_BK";
inline constexpr const char* VGA_COMPOSITE = "COMPOSITE";

// The HDMI-TX panel: the test pattern of the HDMI transmitter, previewed in the panel.
class TFormVGA : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on TAB_DLG_BK, with "Color Scale" selected and previewed.
    TFormVGA(QWidget* owner, THost& host);

    /// Starts the transmitter of a connected board and sends it the current selection.
    void AttachBoard(TBoard* board) override;

    /// The board parts this panel drives.
    TBoardAreas BoardAreas() const override;

    /// Previews the selected pattern and, with a connected board, sets it there.
    void ComboBoxVGAChange();

    /// The preview as last drawn.
    const QImage& Preview() const { return m_Preview; }

    QLabel* LabelCaption;
    QLabel* LabelPattern;
    QComboBox* ComboBoxVGA;
    QLabel* ImageVGA;

protected:
    void FormPaint(QPainter& canvas) override;

private:
    void DrawPreview(int code);
    void DrawGrid(int code);
    void SetPattern(int code);

    QImage m_Preview;
};
