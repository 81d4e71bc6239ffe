// The hosts' stand-in for the ambient-light converter: without it a fade of
// the backlight (the screensaver's dimming, the light coming back) never
// moves, and the LCD keeps the colours of the light before.
#pragma once

// One averaged conversion result handed to the backlight's step; called
// every 10 ms of panel time while the application's ticks run.
void SIM_AmbientLightStep();
