// Passwords in the desktop's keyring, through the Secret Service
// (libsecret; gnome-keyring and KWallet offer the service). An entry is
// found by the source's address and user name. libsecret is loaded when
// the first password is needed, not when Orvella starts.
//
// Every call may wait for the keyring (and the keyring for the user, to
// unlock it): the window calls them only through the sync worker, which
// ends a waiting call with a Keyring::Stop when Orvella quits.
//
//   std::string password, why;
//   switch (Keyring::Lookup(url, user, &password, &why)) {
//   case Keyring::kDone: ...          // password found
//   case Keyring::kNotFound: ...      // no entry
//   case Keyring::kUnavailable: ...   // no Secret Service; why says what failed
//   }
#pragma once

#include <mutex>
#include <string>

namespace Keyring {

enum Result { kDone, kNotFound, kUnavailable };

// Ends the calls made with it, from any thread: a call waiting then gives
// kUnavailable at once, and so does every later one.
class Stop {
public:
  Stop() = default;
  ~Stop();
  Stop(const Stop&) = delete;
  Stop& operator=(const Stop&) = delete;
  void Now();
  // The GCancellable of the calls, made by the first (libsecret is loaded
  // by then), and cancelled already after Now.
  void* Cancellable() const;

private:
  mutable std::mutex fLock;
  mutable void* fCancellable = nullptr;
  bool fStopped = false;
};

Result Store(const std::string& url, const std::string& user, const std::string& password, std::string* why,
             const Stop* stop = nullptr);
Result Lookup(const std::string& url, const std::string& user, std::string* password, std::string* why,
              const Stop* stop = nullptr);
Result Clear(const std::string& url, const std::string& user, std::string* why, const Stop* stop = nullptr);

} // namespace Keyring
