# Warnings and floating-point rules shared by every target.
add_compile_options(-Wall -Wextra)
# The audio path must give the same samples in every build: no fused
# multiply-add contraction.
add_compile_options(-ffp-contract=off)

if(WIN32)
  # wchar_t and char16_t are both UTF-16 here; keep the Unicode API by default.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

if(QV_SANITIZE)
  add_compile_options(-fsanitize=${QV_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${QV_SANITIZE})
endif()

if(QV_FUZZ)
  # Coverage instrumentation everywhere; the fuzzer's main only in fuzz targets.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
