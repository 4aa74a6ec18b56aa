// Activation tokens of a Wayland session (the xdg-activation protocol). A
// Wayland window cannot take the focus: the compositor hands it over to a
// window that shows a token, which the program that asks for the window
// got from the compositor and passed on: in the environment of a program
// it starts (XDG_ACTIVATION_TOKEN), or inside a message. The compositor
// judges a token by how it was got; a token got without an input event
// behind it typically only makes the window ask for the user's attention.
//
//   request.AddString("_activationToken", ActivationTokenToPass().c_str());
#pragma once

#include <string>

// A new token from the compositor of the session (WAYLAND_DISPLAY), for no
// particular input event; empty outside a Wayland session or when the
// compositor offers no activation.
std::string RequestActivationToken();

// The token to pass to a program whose window this one brings up: the one
// this program was started with, taken once and removed from the
// environment so that its children do not inherit it, else a new one from
// the compositor.
std::string ActivationTokenToPass();
