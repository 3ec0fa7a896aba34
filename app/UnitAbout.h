#pragma once

#include <QDialog>
#include <memory>

class QPushButton;
class TBitmapManager;
class TButtonManager;

inline constexpr const char* ABOUT_CAPTION = "About Control Panel";
inline constexpr int32_t ABOUT_CLOSE_ID = 0;

// The skinned About box, shown modally by the main window.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    /// Builds the box over owner, sized from its background, with a skinned "Close" button.
    explicit TFormAbout(QWidget* owner);
    ~TFormAbout() override;

    /// Closes the box.
    void ButtonExitClick();

    TButtonManager& Buttons() const { return *m_pButtonManager; }

    QPushButton* ButtonExit;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<TBitmapManager> m_pBitmapManager;
    std::unique_ptr<TButtonManager> m_pButtonManager;
};
