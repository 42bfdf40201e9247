# The program's version and the addresses its About box offers: configuration values of
# the build, written into one generated header that the version resource and the code
# both include.
set(PELVOR_VERSION_MAJOR 1)
set(PELVOR_VERSION_MINOR 0)
set(PELVOR_VERSION_PATCH 0)
set(PELVOR_VERSION_BUILD 0)
set(PELVOR_OWNER_NAME "Pelvor")
set(PELVOR_WEB_PAGE "https://www.pelvor.example/")
set(PELVOR_MAIL_ADDRESS "support@pelvor.example")
set(PELVOR_COPYRIGHT_YEAR 2024)

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildInfo.h.in ${CMAKE_BINARY_DIR}/generated/BuildInfo.h @ONLY)
target_include_directories(pelvor_options INTERFACE ${CMAKE_BINARY_DIR}/generated)
