# The playback engine behind the Engine_* call interface. Included by
# engine/CMakeLists.txt after the output library.
add_library(qv_engine STATIC
  ${CMAKE_CURRENT_LIST_DIR}/engine_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_lifetime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_transport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playback_thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/source_kinds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/time_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locked_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wav/wav_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wav/wav_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wav/wav_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd/cd_track.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cd/cd_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_file_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_vbr_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_measure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_seek.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_decode_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/mpeg_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/id3v1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mpeg/id3v1_genres.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vorbis/vorbis_comments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vorbis/vorbis_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vorbis/vorbis_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/plugin_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/plugin_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/builtin_plugins.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/pcm_reduce.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/config_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/asf_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/asf_tags.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/asf_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/asf_packet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/wave_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/ffmpeg_wma_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/wma_decoder_choice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/wma_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/wma/wma_plugin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/flac/wide_stdio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/flac/flac_file_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/flac/flac_plugin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/ape/ape_decompressor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugins/ape/ape_plugin.cpp
)
target_include_directories(qv_engine PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(qv_engine PUBLIC qv_output qv_dsp qv_platform)
target_link_libraries(qv_engine PUBLIC qv::mad)
target_link_libraries(qv_engine PUBLIC qv::tremor qv::ogg qv::flacpp qv::ffmpeg)
