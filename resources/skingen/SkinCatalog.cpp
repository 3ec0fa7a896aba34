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
         [](int scale) { return SystemButton(SystemGlyph::Close, scale); }},
        {"MINI_BTN", QSize(SYSTEM_WIDTH, SYSTEM_HEIGHT * ROWS),
         [](int scale) { return SystemButton(SystemGlyph::Minimise, scale); }},
        {"ABOUT_BTN", QSize(SYSTEM_WIDTH, SYSTEM_HEIGHT * ROWS),
         [](int scale) { return SystemButton(SystemGlyph::About, scale); }},
        {"CONNECT_BTN", QSize(CONNECT_WIDTH, CONNECT_HEIGHT * ROWS),
         [](int scale) { return ConnectButton(false, scale); }},
        {"DISCONNECT_BTN", QSize(CONNECT_WIDTH, CONNECT_HEIGHT * ROWS),
         [](int scale) { return ConnectButton(true, scale); }},
        {"NORMAL_BTN", QSize(NORMAL_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [](int scale) { return CaptionButton(NORMAL_BTN_WIDTH, scale); }},
        {"MIDDLE_BTN", QSize(MIDDLE_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [](int scale) { return CaptionButton(MIDDLE_BTN_WIDTH, scale); }},
        {"LONG_BTN", QSize(LONG_BTN_WIDTH, CAPTION_HEIGHT * ROWS),
         [](int scale) { return CaptionButton(LONG_BTN_WIDTH, scale); }},
        {"LEFT_BTN", QSize(ARROW_WIDTH, CAPTION_HEIGHT * ROWS),
         [](int scale) { return ArrowButton(false, scale); }},
        {"RIGHT_BTN", QSize(ARROW_WIDTH, CAPTION_HEIGHT * ROWS),
         [](int scale) { return ArrowButton(true, scale); }},
        {"LEDG_LIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [](int scale) { return LedButton(true, true, scale); }},
        {"LEDG_UNLIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [](int scale) { return LedButton(true, false, scale); }},
        {"LEDR_LIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [](int scale) { return LedButton(false, true, scale); }},
        {"LEDR_UNLIGHT_BTN", QSize(LED_WIDTH, LED_HEIGHT * ROWS),
         [](int scale) { return LedButton(false, false, scale); }},
        {"ABOUT_BK", QSize(ABOUT_SIZE, ABOUT_SIZE), About},
        {"TAB_DLG_BK", panel, TabDialog},
        {"BT_DLG_BK", panel, KeysSwitches},
        {"MEMORY_DLG_BK", panel, Memory},
        {"SDCARD_DLG_BK", panel, SdCard},
        {"ADC_DLG_BK", panel, Adc},
        {"HSMC_DLG_BK", panel, Hsmc},
        {"COMPOSITE", QSize(TestPatternArt::COMPOSITE_WIDTH, TestPatternArt::COMPOSITE_HEIGHT),
         TestPatternArt::CompositeBars},
        {"SW_UP", QSize(SWITCH_WIDTH, SWITCH_HEIGHT),
         [](int scale) { return SlideSwitch(false, scale); }},
        {"SW_DOWN", QSize(SWITCH_WIDTH, SWITCH_HEIGHT),
         [](int scale) { return SlideSwitch(true, scale); }},
        {"BUTTON_UP", QSize(KEY_SIZE, KEY_SIZE), [](int scale) { return PushKey(false, scale); }},
        {"BUTTON_DOWN", QSize(KEY_SIZE, KEY_SIZE), [](int scale) { return PushKey(true, scale); }},
        {"INFO_ICON", QSize(INFO_WIDTH, INFO_HEIGHT), InfoIcon},
    };
    for (int v = 0; v < HEX_DIGITS; ++v)
    {
        all.push_back({HexName(v), QSize(DIGIT_WIDTH, DIGIT_HEIGHT),
                       [v](int scale) { return HexDigit(v, scale); }});
    }
    return all;
}
