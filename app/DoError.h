// The program's one alert: "OVA_App " and the text, with one button, and
// waits until it is closed.
#pragma once

void DoError(const char* text);
