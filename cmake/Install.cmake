# What `cmake --install` lays out (GNUInstallDirs): the program, its help
# page, the desktop entry, icons, AppStream metadata, the man page, the bash
# completion and example systemd user units for nightly runs.
set(ZV_APP_ID nl.zandvast.Zandvast)
set(ZV_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(ZV_ICON_SIZES 16 22 24 32 48 64 128 256)

# The PNG icons are rendered from the one SVG at build time.
add_executable(zv_render_icon packaging/RenderIcon.cpp)
target_link_libraries(zv_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(ZV_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set(icon_pngs)
foreach(size IN LISTS ZV_ICON_SIZES)
    list(APPEND icon_pngs ${ZV_ICON_DIR}/${size}x${size}/apps/${ZV_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${icon_pngs}
    COMMAND zv_render_icon ${ZV_PACKAGING}/${ZV_APP_ID}.svg ${ZV_ICON_DIR} ${ZV_ICON_SIZES}
    DEPENDS zv_render_icon ${ZV_PACKAGING}/${ZV_APP_ID}.svg
    COMMENT "Rendering the icon as PNG pictures")
add_custom_target(zv_icons ALL DEPENDS ${icon_pngs})

set(ZV_DATA ${CMAKE_INSTALL_DATADIR})
install(TARGETS zandvast RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/ZandvastHelp.html README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${ZV_PACKAGING}/${ZV_APP_ID}.desktop DESTINATION ${ZV_DATA}/applications)
install(FILES ${ZV_PACKAGING}/${ZV_APP_ID}.metainfo.xml DESTINATION ${ZV_DATA}/metainfo)
install(FILES ${ZV_PACKAGING}/${ZV_APP_ID}.svg DESTINATION ${ZV_DATA}/icons/hicolor/scalable/apps)
install(DIRECTORY ${ZV_ICON_DIR}/ DESTINATION ${ZV_DATA}/icons/hicolor)
install(FILES ${ZV_PACKAGING}/zandvast.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZV_PACKAGING}/zandvast.bash-completion
    DESTINATION ${ZV_DATA}/bash-completion/completions RENAME zandvast)
install(FILES ${ZV_PACKAGING}/zandvast-nightly.service ${ZV_PACKAGING}/zandvast-nightly.timer
    DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
