#pragma once
// Resource ids shared by the resource script and the window. The
// application icon has the lowest id, so Windows shows it for the file too.

#define PINVALE_APP_ICON 1
#define PINVALE_START_PICTURE 2
#define PINVALE_PAUSE_PICTURE 3
