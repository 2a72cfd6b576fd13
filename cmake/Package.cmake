# What goes on a game server, laid out as the plugin framework expects it below
# the server's ShooterGame/Binaries/Win64 folder (the framework's current
# directory): the plugin library and its config.json in ArkApi/Plugins/TandorShop/,
# the documentation beside them. `cmake --install BUILD --prefix DIR` writes the
# tree into DIR; `cpack` (scripts/package) archives it.
set(TANDORSHOP_PLUGIN_DIR ArkApi/Plugins/TandorShop)
# Installing and packing take what is built; they do not build the simulator,
# tools and tests first (scripts/package builds the plugin itself).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

install(TARGETS TandorShop
  LIBRARY DESTINATION ${TANDORSHOP_PLUGIN_DIR} COMPONENT plugin
  RUNTIME DESTINATION ${TANDORSHOP_PLUGIN_DIR} COMPONENT plugin)
# The economy report, run by an admin on any machine that reaches the database.
install(TARGETS tandorshop-report RUNTIME DESTINATION ${TANDORSHOP_PLUGIN_DIR}/tools COMPONENT plugin)
# The example shop as the starting configuration; an upgrade keeps the server's own.
install(FILES ${PROJECT_SOURCE_DIR}/examples/config.json
  DESTINATION ${TANDORSHOP_PLUGIN_DIR} COMPONENT plugin)
# README and CHANGELOG beside docs/, as in the source tree, so that their links
# to docs/... lead somewhere.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  DESTINATION ${TANDORSHOP_PLUGIN_DIR} COMPONENT plugin)
install(FILES
    ${PROJECT_SOURCE_DIR}/docs/deploying.md
    ${PROJECT_SOURCE_DIR}/docs/configuration.md
    ${PROJECT_SOURCE_DIR}/docs/admin-commands.md
    ${PROJECT_SOURCE_DIR}/docs/arkshop-import.md
    ${PROJECT_SOURCE_DIR}/docs/shop-page.png
    ${PROJECT_SOURCE_DIR}/docs/report.md
    ${PROJECT_SOURCE_DIR}/docs/report.png
  DESTINATION ${TANDORSHOP_PLUGIN_DIR}/docs COMPONENT plugin)

set(CPACK_PACKAGE_NAME TandorShop)
set(CPACK_PACKAGE_VENDOR "TandorShop")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Points shop plugin for ARK: Survival Ascended dedicated servers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "TandorShop-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_GENERATOR TGZ ZIP)
# The archive unpacks straight into the server's Win64 folder: ArkApi/... at its top.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_ALL plugin)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
