// The optional "_activationToken" field of a date request (docs/ipc.md,
// section 9.1): the activation token that lets a Wayland compositor hand
// Orvella's window the focus when the request brings it up.
//
//   BMessage request('_KXT');
//   request.AddBool("_ask", true);
//   AddActivationToken(&request);
#pragma once

class BMessage;

// Adds the token AskOrvel was started with (XDG_ACTIVATION_TOKEN), once,
// else one it asks its compositor for; nothing outside a Wayland session.
void AddActivationToken(BMessage* request);
