# The fuzz build links libmad built from its upstream source with the
# project's patches (scripts/deps/patches/libmad, the ones the Win32 copy
# carries), instrumented like everything else, so that fuzzing tests the
# fixes themselves. Built at configure time into the build folder; rebuilt
# when the tarball, a patch or the flags change.
set(QV_PATCHED_MAD ${CMAKE_BINARY_DIR}/patched-mad)
# Coverage and AddressSanitizer; not UndefinedBehaviorSanitizer, whose shift
# checks libmad's fixed-point arithmetic fails by design.
set(qv_mad_cflags "-g -O1 -fno-omit-frame-pointer -fsanitize=address,fuzzer-no-link -w")
file(GLOB qv_mad_patches ${CMAKE_SOURCE_DIR}/scripts/deps/patches/libmad/*.patch)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${qv_mad_patches} ${CMAKE_SOURCE_DIR}/scripts/deps/build-patched-mad)
execute_process(
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/deps/build-patched-mad ${QV_PATCHED_MAD} ${CMAKE_C_COMPILER} ${qv_mad_cflags}
  RESULT_VARIABLE qv_mad_result)
if(NOT qv_mad_result EQUAL 0)
  message(FATAL_ERROR "building the patched libmad failed (scripts/deps/build-patched-mad)")
endif()
add_library(qv::mad STATIC IMPORTED GLOBAL)
set_target_properties(qv::mad PROPERTIES
  IMPORTED_LOCATION ${QV_PATCHED_MAD}/lib/libmad.a
  INTERFACE_INCLUDE_DIRECTORIES ${QV_PATCHED_MAD}/include)
