#!/usr/bin/env bash
# Makes pictures to look the skin over: a contact sheet of every bitmap, the board with
# the main window's outlines on it, and the main window put together with its tabs,
# buttons and a panel. Usage: resources/preview.sh SKIN_FOLDER OUTPUT_FOLDER
# (SKIN_FOLDER is <build>/resources/skin). Needs ImageMagick.
set -euo pipefail
skin=${1:?skin folder}
out=${2:?output folder}
mkdir -p "$out"
cd "$skin"

row() { # row STRIP INDEX HEIGHT -> png on stdout
  convert "$1" -crop "x$3+0+$(($2 * $3))" +repage png:-
}

# every bitmap, each with its name
montage -background '#2a2a2a' -fill '#e0e0e0' -font Liberation-Sans -pointsize 10 -label '%t\n%wx%h' \
  TAB_BUTTON.bmp CLOSE_BTN.bmp MINI_BTN.bmp ABOUT_BTN.bmp CONNECT_BTN.bmp DISCONNECT_BTN.bmp \
  NORMAL_BTN.bmp MIDDLE_BTN.bmp LONG_BTN.bmp LEFT_BTN.bmp RIGHT_BTN.bmp \
  LEDG_LIGHT_BTN.bmp LEDG_UNLIGHT_BTN.bmp LEDR_LIGHT_BTN.bmp LEDR_UNLIGHT_BTN.bmp \
  SW_UP.bmp SW_DOWN.bmp BUTTON_UP.bmp BUTTON_DOWN.bmp INFO_ICON.bmp \
  HEX_0.bmp HEX_1.bmp HEX_2.bmp HEX_3.bmp HEX_4.bmp HEX_5.bmp HEX_6.bmp HEX_7.bmp \
  HEX_8.bmp HEX_9.bmp HEX_A.bmp HEX_B.bmp HEX_C.bmp HEX_D.bmp HEX_E.bmp HEX_F.bmp \
  -tile 12x -geometry '+8+8' "$out/sheet_small.png"
convert "$out/sheet_small.png" -scale 200% "$out/sheet_small_x2.png"
montage -background '#2a2a2a' -fill '#e0e0e0' -font Liberation-Sans -pointsize 11 -label '%t' \
  TAB_DLG_BK.bmp BT_DLG_BK.bmp MEMORY_DLG_BK.bmp SDCARD_DLG_BK.bmp ADC_DLG_BK.bmp HSMC_DLG_BK.bmp \
  ABOUT_BK.bmp COMPOSITE.bmp -tile 4x -geometry '+8+8' "$out/sheet_large.png"

# the board with the eleven outlines (yellow, 2 px) the main window draws over it
outline() { echo "rectangle $(($1 + 1)),$(($2 + 1)) $(($1 + $3 - 1)),$(($2 + $4 - 1))"; }
convert MAIN_UI.bmp -fill none -stroke yellow -strokewidth 2 \
  -draw "$(outline 181 203 67 27)" -draw "$(outline 180 236 253 9)" -draw "$(outline 177 247 143 26)" \
  -draw "$(outline 322 247 106 25)" -draw "$(outline 350 102 31 28)" -draw "$(outline 282 150 39 26)" \
  -draw "$(outline 382 51 33 32)" -draw "$(outline 292 217 48 12)" -draw "$(outline 239 36 30 35)" \
  -draw "$(outline 276 40 35 26)" -draw "$(outline 438 107 17 124)" "$out/main_outlines.png"
convert "$out/main_outlines.png" -crop 340x260+140+30 +repage -scale 300% "$out/board_x3.png"

# the main window put together: tab 0 checked, tab 8 hovered, the LED panel's background
tabs=(LED 7-SEG Switches Memory "SD Card" ADC UART-USB HDMI-TX HSMC)
args=()
for i in 0 1 2 3 4 5 6 7 8; do
  if [ $i -lt 5 ]; then x=8; y=$((289 + 45 * i)); else x=106; y=$((289 + 45 * (i - 5))); fi
  r=0; [ $i -eq 8 ] && r=2
  row TAB_BUTTON.bmp $r 38 > "$out/.tab$i.png"
  colour=white; [ $i -eq 0 ] && colour='#00eaff'
  args+=("$out/.tab$i.png" -geometry "+$x+$y" -composite
         -fill "$colour" -font Liberation-Sans -pointsize 11 -annotate "+$((x + 46 - ${#tabs[$i]} * 3))+$((y + 23))" "${tabs[$i]}")
done
row CLOSE_BTN.bmp 0 12 > "$out/.close.png"
row MINI_BTN.bmp 0 12 > "$out/.mini.png"
row ABOUT_BTN.bmp 0 12 > "$out/.about.png"
row DISCONNECT_BTN.bmp 0 77 > "$out/.connect.png"
convert TAB_DLG_BK.bmp -crop 387x276+0+0 +repage "$out/.panel.png"
convert MAIN_UI.bmp "${args[@]}" \
  "$out/.close.png" -geometry +559+19 -composite "$out/.mini.png" -geometry +520+19 -composite \
  "$out/.about.png" -geometry +481+19 -composite "$out/.connect.png" -geometry +124+510 -composite \
  "$out/.panel.png" -geometry +204+288 -composite INFO_ICON.bmp -geometry +227+564 -composite \
  -fill '#00ff00' -font Liberation-Sans -pointsize 13 -annotate +205+21 "Kelvaro - HX9 Control Panel V1.0.2" \
  -fill '#00ff30' -pointsize 13 -annotate +48+555 "Connected" \
  -fill '#008000' -pointsize 11 -annotate +245+575 "Set HDMI-TX Success" \
  "$out/main_window.png"
rm -f "$out"/.*.png

# the clip's frames side by side
convert WELCOME_AVI.gif -coalesce +append -resize 50% "$out/clip_strip.png"
convert 'WELCOME_AVI.gif[0]' "$out/clip_first.png"

# three panels put together with their pictures (top 276 rows, as the panels show them)
led=("$out/.panel_led.png")
convert TAB_DLG_BK.bmp -crop 387x276+0+0 +repage "$led"
row LEDG_LIGHT_BTN.bmp 0 36 > "$out/.g.png"
row LEDR_UNLIGHT_BTN.bmp 0 36 > "$out/.r.png"
row LEDR_LIGHT_BTN.bmp 2 36 > "$out/.rh.png"
row NORMAL_BTN.bmp 0 17 > "$out/.n.png"
cmd=("$led")
for i in 0 1 2 3 4 5 6 7; do
  cmd+=("$out/.g.png" -geometry "+$((332 - 33 * i))+60" -composite
        -fill '#00ff30' -font Liberation-Sans -pointsize 9 -annotate "+$((344 - 33 * i - 12))+$((100 + 9))" "GLED$i")
done
for j in 0 1 2 3 4 5 6 7 8 9; do
  pic="$out/.r.png"; [ $j -eq 3 ] && pic="$out/.rh.png"
  cmd+=("$pic" -geometry "+$((332 - 33 * j))+145" -composite
        -fill '#ff0000' -font Liberation-Sans -pointsize 9 -annotate "+$((344 - 33 * j - 12))+$((185 + 9))" "RLED$j")
done
cmd+=("$out/.n.png" -geometry +106+243 -composite "$out/.n.png" -geometry +218+243 -composite
      -fill white -pointsize 11 -annotate +114+256 "Light All" -annotate +224+256 "Unlight All")
convert "${cmd[@]}" "$out/.mock_led.png"

cmd=("$out/.panel_seg.png")
convert TAB_DLG_BK.bmp -crop 387x276+0+0 +repage "${cmd[0]}"
row LEFT_BTN.bmp 0 17 > "$out/.left.png"
row RIGHT_BTN.bmp 0 17 > "$out/.right.png"
digits=(HEX_8.bmp HEX_3.bmp HEX_C.bmp HEX_F.bmp)
for k in 0 1 2 3; do
  x=$((270 - 70 * k))
  convert "${digits[$k]}" -transparent '#ff00ff' "$out/.d$k.png"
  cmd+=("$out/.d$k.png" -geometry "+$((x + 8))+105" -composite
        "$out/.right.png" -geometry "+$((300 - 70 * k))+170" -composite
        "$out/.left.png" -geometry "+$((278 - 70 * k))+170" -composite
        -fill '#00eaff' -font Liberation-Sans -pointsize 13 -annotate "+$((x + 11))+$((85 + 12))" "HEX$k")
done
convert "${cmd[@]}" "$out/.mock_seg.png"

cmd=("$out/.panel_bt.png")
convert BT_DLG_BK.bmp -crop 387x276+0+0 +repage "${cmd[0]}"
convert BUTTON_UP.bmp -transparent '#ff00ff' "$out/.ku.png"
convert BUTTON_DOWN.bmp -transparent '#ff00ff' "$out/.kd.png"
convert SW_UP.bmp -transparent '#ff00ff' "$out/.su.png"
convert SW_DOWN.bmp -transparent '#ff00ff' "$out/.sd.png"
for i in 0 1 2 3; do
  pic="$out/.ku.png"; [ $i -eq 1 ] && pic="$out/.kd.png"
  cmd+=("$pic" -geometry "+$((223 - 48 * i))+50" -composite
        -fill white -font Liberation-Sans -pointsize 11 -annotate "+$((223 - 48 * i + 22 - 12))+$((98 + 10))" "KEY$i")
done
for j in 0 1 2 3 4 5 6 7 8 9; do
  pic="$out/.su.png"; [ $((j % 3)) -eq 0 ] && pic="$out/.sd.png"
  cmd+=("$pic" -geometry "+$((332 - 32 * j))+190" -composite
        -fill white -font Liberation-Sans -pointsize 11 -annotate "+$((332 - 32 * j + 10 - 9))+$((254 + 10))" "SW$j")
done
cmd+=(-fill '#00eaff' -pointsize 13 -annotate +20+37 "Keys" -annotate +20+177 "Switches")
convert "${cmd[@]}" "$out/.mock_bt.png"
montage "$out/.mock_led.png" "$out/.mock_seg.png" "$out/.mock_bt.png" -tile 3x -geometry +6+6 -background '#2a2a2a' "$out/panels.png"
rm -f "$out"/.*.png
