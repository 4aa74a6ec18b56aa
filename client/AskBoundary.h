// What AskOrvel takes from other programs (docs/ipc.md, section 12): the
// answers of the running Orvella ('_KXT' sent by the owner of Orvella's bus
// name), well-formed language changes ('kxCL') and the quit request. Every
// other message from another program, its own button codes '_ASK' and
// '_AST' among them, is dropped with a line on standard output before any
// handler sees it, whatever path it was delivered to; a delivery then fails
// with org.orvella.Error.Refused.
//
//   bool Ask_Application::AcceptsRemoteMessage(const BMessage& message)
//   {
//     return AskOrvelAccepts(message);
//   }
#pragma once

class BMessage;

// The signature Orvella registers under on the bus.
inline constexpr const char* kOrvellaSignature = "application/x-vnd.KX-Orvella";

bool AskOrvelAccepts(const BMessage& message);
