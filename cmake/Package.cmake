# The Debian package of an installation under /usr: `cpack -G DEB` in a
# build folder (scripts/package.sh) writes package/orvella_VERSION_ARCH.deb.
# It holds what `cmake --install` installs: the programs and their
# dictionaries, the links in /usr/bin, desktop entries, icon, metainfo,
# D-Bus service file and manual page.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvella developers <devel@orvella.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop calendar and date-time picker")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvella is a date and time entry panel that expands into month calendars
or a clock, with holidays, birthdays and events marked in colour. Other
programs ask it for a date over the D-Bus session bus; AskOrvel does so
from shell scripts. It also writes month pictures and HTML calendar pages.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The install rules write the prefix into the desktop entries and the
# service file: they must see /usr, with the staging folder as DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the programs link come from dpkg-shlibdeps; the rest
# is what they start or load at run time: the X11 platform plugin, the bus
# daemon for activation, xdg-open, the fonts they draw with. libical is
# loaded for iCalendar files only, the Wayland plugin for Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, dbus, xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libical3")

include(CPack)
