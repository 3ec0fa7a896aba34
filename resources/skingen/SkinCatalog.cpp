#include "resources/skingen/SkinCatalog.h"

#include "resources/skingen/ButtonArt.h"
#include "resources/skingen/IndicatorArt.h"
#include "resources/skingen/MainWindowArt.h"
#include "resources/skingen/PaintKit.h"
#include "resources/skingen/PanelArt.h"
#include "resources/skingen/TestPatternArt.h"

#include <QString>

namespace
{

constexpr int ROWS = PaintKit::BUTTON_ROWS;
constexpr int HEX_DIGITS = 16;

// Resource names of the digits, kept alive for the catalog's const char* fields.
const char* HexName(int value)
{
    static const std::vector<QByteArray> names = []
    {
        std::vector<QByteArray> all;
        for (int v = 0; v < HEX_DIGITS; ++v)
        {
            all.push_back(QByteArray("HEX_") + QByteArray::number(v, 16).toUpper());
        }
        return all;
    }();
    return names[static_cast<size_t>(value)].constData();
}

} // namespace

std::vector<SkinPicture> SkinPictures()
{
    using namespace ButtonArt;
    using namespace IndicatorArt;
    using namespace PanelArt;
    const QSize panel(PANEL_WIDTH, PANEL_HEIGHT);
    std::vector<SkinPicture> all = {
        {"MAIN_UI", QSize(MainWindowArt::WIDTH, MainWindowArt::HEIGHT), MainWindowArt::MainUi},
        {"TAB_BUTTON", QSize(TAB_WIDTH, TAB_HEIGHT * ROWS), TabButton},
        {"CLOSE_BTN", QSize(SYSTEM_WIDTH, SYSTEM_HEIGHT * ROWS),
         [] { return SystemButton(SystemGlyph::Close); }},
        {"MINI_BTN", QSize(SYSTEM_WIDTH, SYSTEM_HEIGHT * ROWS),
         [] { return SystemButton(SystemGlyph::Minimise); }},
        {"ABOUT_BTN", QSize(SYSTEM_WIDTH, SYSTEM_HEIGHT * ROWS),
         [] { return SystemButton(SystemGlyph::About); }},
        {"CONNECT_BTN", QSize(CONNECT_WIDTH, CONNECT_HEIGHT * ROWS),
         [] { return ConnectButton(false); }},
        {"DISCONNECT_BTN", QSize(CONNECT_WIDTH, CONNECT_HEIGHT * ROWS),
         [] { return ConnectButton(true); }},
        {"NORMAL_BTN", QSize(NORMAL_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [] { return CaptionButton(NORMAL_BTN_WIDTH); }},
        {"MIDDLE_BTN", QSize(MIDDLE_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [] { return CaptionButton(MIDDLE_BTN_WIDTH); }},
        {"LONG_BTN", QSize(LONG_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [] { return CaptionButton(LONG_BTN_WIDTH); }},
        {"LEFT_BTN", QSize(ARROW_WIDTH, CAPTION_HEIGHT * ROWS), [] { return ArrowButton(false); }},
        {"RIGHT_BTN", QSize(ARROW_WIDTH, CAPTION_HEIGHT * ROWS), [] { return ArrowButton(true); }},
        {"LEDG_LIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [] { return LedButton(true, true); }},
        {"LEDG_UNLIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [] { return LedButton(true, false); }},
        {"LEDR_LIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [] { return LedButton(false, true); }},
        {"LEDR_UNLIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [] { return LedButton(false, false); }},
        {"ABOUT_BK", QSize(ABOUT_SIZE, ABOUT_SIZE), About},
        {"TAB_DLG_BK", panel, TabDialog},
        {"BT_DLG_BK", panel, KeysSwitches},
        {"MEMORY_DLG_BK", panel, Memory},
        {"SDCARD_DLG_BK", panel, SdCard},
        {"ADC_DLG_BK", panel, Adc},
        {"HSMC_DLG_BK", panel, Hsmc},
        {"COMPOSITE", QSize(TestPatternArt::COMPOSITE_WIDTH, TestPatternArt::COMPOSITE_HEIGHT),
         TestPatternArt::CompositeBars},
        {"SW_UP", QSize(SWITCH_WIDTH, SWITCH_HEIGHT), [] { return SlideSwitch(false); }},
        {"SW_DOWN", QSize(SWITCH_WIDTH, SWITCH_HEIGHT), [] { return SlideSwitch(true); }},
        {"BUTTON_UP", QSize(KEY_SIZE, KEY_SIZE), [] { return PushKey(false); }},
        {"BUTTON_DOWN", QSize(KEY_SIZE, KEY_SIZE), [] { return PushKey(true); }},
        {"INFO_ICON", QSize(INFO_WIDTH, INFO_HEIGHT), InfoIcon},
    };
    for (int v = 0; v < HEX_DIGITS; ++v)
    {
        all.push_back({HexName(v), QSize(DIGIT_WIDTH, DIGIT_HEIGHT), [v] { return HexDigit(v); }});
    }
    return all;
}
