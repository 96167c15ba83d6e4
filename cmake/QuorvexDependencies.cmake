# Every dependency comes from a Debian package that scripts/bootstrap installs.

find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(CURL REQUIRED)
find_package(ZLIB REQUIRED)
find_package(fmt REQUIRED)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)

if(QUORVEX_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
  find_package(OpenSSL REQUIRED)
endif()
