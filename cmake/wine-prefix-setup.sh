#!/usr/bin/env bash
# Settings for a new Wine prefix (WINEPREFIX), so that Pinvale looks under
# Wine as it does on Windows.
set -eu
# Wine's interface font, Tahoma, has no Chinese glyphs: borrow them from
# WenQuanYi Micro Hei (fonts-wqy-microhei), as Windows links fonts for CJK.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
# Wine draws the caption buttons with Marlett, but does not load the copy
# that fonts-wine puts in its data folder; from the prefix's Fonts it does.
marlett=/usr/share/wine/fonts/marlett.ttf
[ ! -f "$marlett" ] || cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
