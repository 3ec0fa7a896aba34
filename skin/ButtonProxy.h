#pragma once

#include <QString>
#include <QWidget>

class TButtonManager;
class TCustomButton;

// The keyboard's and assistive technology's hold on one skinned button: an invisible child
// of the button's window over the button's rectangle. Tab reaches it while the button is
// enabled; Space or Return press the button as a click does; screen readers see it as the
// button. The window still draws the button and gets every pointer event.
class TButtonProxy : public QWidget
{
    Q_OBJECT

public:
    /// A proxy for button of manager on window, placed over the button.
    TButtonProxy(QWidget* window, TButtonManager& manager, TCustomButton& button);

    TButtonManager& Manager() const { return m_Manager; }
    TCustomButton& Button() const { return m_Button; }

    /// Follows the button after a change: its place, whether Tab reaches it, the focus look;
    /// tells assistive technology what changed of its name, checked and enabled states.
    void Sync();
    /// True when the focus is here and came by the keyboard: the button shows it.
    bool ShowsFocus() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FollowFocus();

    TButtonManager& m_Manager;
    TCustomButton& m_Button;
    // What assistive technology was told last.
    QString m_ToldName;
    bool m_bToldChecked;
    bool m_bToldEnabled;
};
