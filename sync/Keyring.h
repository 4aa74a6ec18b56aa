// Passwords in the desktop's keyring, through the Secret Service
// (libsecret; gnome-keyring and KWallet offer the service). An entry is
// found by the source's address and user name. libsecret is loaded when
// the first password is needed, not when Orvella starts.
//
// Every call may wait for the keyring (and the keyring for the user, to
// unlock it): the window calls them only through the sync worker.
//
//   std::string password, why;
//   switch (Keyring::Lookup(url, user, &password, &why)) {
//   case Keyring::kDone: ...          // password found
//   case Keyring::kNotFound: ...      // no entry
//   case Keyring::kUnavailable: ...   // no Secret Service; why says what failed
//   }
#pragma once

#include <string>

namespace Keyring {

enum Result { kDone, kNotFound, kUnavailable };

Result Store(const std::string& url, const std::string& user, const std::string& password, std::string* why);
Result Lookup(const std::string& url, const std::string& user, std::string* password, std::string* why);
Result Clear(const std::string& url, const std::string& user, std::string* why);

} // namespace Keyring
