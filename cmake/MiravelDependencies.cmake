# The platform libraries behind our own small layers: libcurl (transport),
# OpenSSL libcrypto (MD5), PCRE2 16-bit (regular expressions); glibc iconv
# needs nothing to link.
find_package(Threads REQUIRED)
find_package(CURL REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2_16 REQUIRED IMPORTED_TARGET libpcre2-16)
