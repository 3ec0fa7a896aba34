#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

inline constexpr const char* PROGRESS_CAPTION = "Progress";

// Progress of a long memory transfer, with an Abort button that the transfer polls between
// its steps. It cannot be closed from its frame; its owner destroys it.
class TFormProgress : public QDialog
{
    Q_OBJECT

public:
    /// A dialog above owner, not yet shown, not aborted.
    explicit TFormProgress(QWidget* owner);

    /// Sets the status text and repaints the whole dialog at once.
    void SetStatusText(const QString& text);
    /// Sets the bar, 0 to 100.
    void SetPercent(int value);
    /// True once Abort was clicked; nothing clears it.
    bool IsAborted() const { return m_bAborted; }
    /// The Abort button: marks the transfer aborted; the dialog stays open.
    void ButtonAbortClick();

    QLabel* LabelStatus;
    QProgressBar* ProgressBar;
    QPushButton* ButtonAbort;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bAborted = false;
};
