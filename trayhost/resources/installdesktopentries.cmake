# Run by `cmake --install`: writes the desktop entries with the tray program's installed path and
# installs them. The prefix is known only now (`--prefix` may change it). The autostart entry goes
# where the desktop looks for it: /etc/xdg/autostart for a /usr install, and below the prefix
# otherwise (where the README says what to do about it). The variables KOVA_* are set by the build.
set(KOVA_TRAY_PROGRAM "${CMAKE_INSTALL_PREFIX}/${KOVA_INSTALL_BINDIR}/KOVAHDDProfilerTrayApp")
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(autostart_folder "/etc/xdg/autostart")
else()
  set(autostart_folder "${CMAKE_INSTALL_PREFIX}/${KOVA_INSTALL_SYSCONFDIR}/xdg/autostart")
endif()

# Written to a folder of the prefix's own, so that installs into several prefixes at once keep apart.
string(MD5 prefix_tag "${CMAKE_INSTALL_PREFIX}")
set(written "${KOVA_DESKTOP_OUTPUT}/${prefix_tag}")
configure_file("${KOVA_DESKTOP_SOURCES}/kovahdd-tray.desktop.in"
  "${written}/applications/kovahdd-tray.desktop" @ONLY)
configure_file("${KOVA_DESKTOP_SOURCES}/kovahdd-tray-autostart.desktop.in"
  "${written}/autostart/kovahdd-tray.desktop" @ONLY)
file(INSTALL "${written}/applications/kovahdd-tray.desktop"
  DESTINATION "${CMAKE_INSTALL_PREFIX}/${KOVA_INSTALL_DATADIR}/applications")
file(INSTALL "${written}/autostart/kovahdd-tray.desktop" DESTINATION "${autostart_folder}")
