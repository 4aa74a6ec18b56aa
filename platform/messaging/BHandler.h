// A handler receives messages in MessageReceived. Handlers belong to a
// looper, which dispatches the messages posted to them; a handler that does
// not handle a message passes it to its next handler (SetNextHandler), and
// the last one in the chain drops it.
//
//   class Panel : public BHandler {
//     void MessageReceived(BMessage* message) override
//     {
//       if (message->what == 'TDSV') { ...; return; }
//       BHandler::MessageReceived(message);   // next handler, or dropped
//     }
//   };
//
// Every handler has a token, unique for the program's lifetime and never
// reused, by which messengers find it again without holding a pointer.
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

class BLooper;
class BMessage;

class BHandler {
public:
  explicit BHandler(const char* name = nullptr);
  virtual ~BHandler();
  BHandler(const BHandler&) = delete;
  BHandler& operator=(const BHandler&) = delete;

  // Hands the message to the next handler when there is one, else drops it.
  virtual void MessageReceived(BMessage* message);

  BLooper* Looper() const { return fLooper; }
  void SetNextHandler(BHandler* handler) { fNextHandler = handler; }
  BHandler* NextHandler() const { return fNextHandler; }

  const char* Name() const { return fName.c_str(); }
  void SetName(const char* name) { fName = name ? name : ""; }

  // Locks the handler's looper; false when the handler has none.
  bool LockLooper();
  void UnlockLooper();

  int32 Token() const { return fToken; }
  // The living handler with this token, or null.
  static BHandler* HandlerForToken(int32 token);

private:
  friend class BLooper;

  std::string fName;
  BLooper* fLooper = nullptr;
  BHandler* fNextHandler = nullptr;
  int32 fToken;
};
