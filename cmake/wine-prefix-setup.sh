#!/usr/bin/env bash
# Settings for a new Wine prefix (WINEPREFIX), so that Pinvale looks under
# Wine as it does on Windows.
set -eu
# Wine's interface font, Tahoma, has no Chinese glyphs: borrow them from
# WenQuanYi Micro Hei (fonts-wqy-microhei), as Windows links fonts for CJK.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
