#pragma once

#include <QImage>

// Panel backgrounds (387 x 296, of which the panels show the top 276 rows) and the About
// background. Everything a panel draws on top sits on the flat panel colour. Each is drawn at
// scale device pixels per layout pixel.
namespace PanelArt
{

inline constexpr int PANEL_WIDTH = 387;
inline constexpr int PANEL_HEIGHT = 296;
inline constexpr int PANEL_CLIENT_HEIGHT = 276; // panels are their bitmap less 20 rows
inline constexpr int ABOUT_SIZE = 300;

/// Shared by the LED, seven-segment, UART-USB and HDMI-TX panels: a title band on top.
QImage TabDialog(int scale);

/// Keys and switches panel: a "Keys" and a "Switches" section.
QImage KeysSwitches(int scale);

/// Memory panel: type, random access, sequential write and sequential read sections.
QImage Memory(int scale);

/// SD card panel: identification, specific data and file system sections, a card picture.
QImage SdCard(int scale);

/// ADC panel: a title band and a read-out screen behind the eight values.
QImage Adc(int scale);

/// HSMC panel: a title band, the instructions' column and a connector with its adapter.
QImage Hsmc(int scale);

/// About box: an emblem above, room for four lines of text and the Close button below.
QImage About(int scale);

} // namespace PanelArt
