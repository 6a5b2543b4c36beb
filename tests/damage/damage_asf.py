"""Damaged WMA (ASF) files: header objects whose sizes and counts lie, file
and stream properties at their limits (packet sizes, counts, durations, the
codec's wave format and its extra data), tag objects whose lengths run past
them, damaged packets, and objects out of order."""
import struct
import uuid

from damage_common import cuts, field_extremes, flips, patched

GUID = {name: uuid.UUID(text).bytes_le for name, text in (
    ("file", "8cabdca1-a947-11cf-8ee4-00c00c205365"),
    ("stream", "b7dc0791-a9b7-11cf-8ee6-00c00c205365"),
    ("content", "75b22633-668e-11cf-a6d9-00aa0062ce6c"),
    ("extended", "d2d0a440-e307-11d2-97f0-00a0c95ea850"),
    ("data", "75b22636-668e-11cf-a6d9-00aa0062ce6c"),
)}


def objects(data, start, end):
    """(offset, identifier, size) of the objects from start to end."""
    out = []
    at = start
    while at + 24 <= end:
        size = struct.unpack_from("<Q", data, at + 16)[0]
        out.append((at, bytes(data[at:at + 16]), size))
        if size < 24:
            break
        at += size
    return out


FILE_FIELDS = (("file_size", 40, "<Q"), ("packet_count", 56, "<Q"), ("play_duration", 64, "<Q"),
               ("preroll", 80, "<Q"), ("flags", 88, "<I"), ("min_packet", 92, "<I"), ("max_packet", 96, "<I"),
               ("max_bitrate", 100, "<I"))
STREAM_FIELDS = (("type_specific_length", 64, "<I"), ("error_correction_length", 68, "<I"), ("stream_flags", 72, "<H"),
                 ("format_tag", 78, "<H"), ("channels", 80, "<H"), ("rate", 82, "<I"), ("avgbytes", 86, "<I"),
                 ("blockalign", 90, "<H"), ("bits", 92, "<H"), ("cbsize", 94, "<H"), ("codec_extra1", 96, "<I"),
                 ("codec_extra2", 100, "<H"))


def damage(stem, ext, data, corpus, level):
    header_size = struct.unpack_from("<Q", data, 16)[0]
    subs = objects(data, 30, header_size)
    where = {gid: (at, size) for at, gid, size in subs}
    data_at = header_size
    if data[data_at:data_at + 16] != GUID["data"] or GUID["file"] not in where or GUID["stream"] not in where:
        raise ValueError("%s: not the ASF layout expected" % stem)
    first_packet = data_at + 50
    file_at = where[GUID["file"]][0]
    stream_at = where[GUID["stream"]][0]
    cuts(stem, ext, data, [16, 24, 30, 54, file_at + 60, stream_at + 80, header_size - 1, header_size + 40,
                           first_packet, first_packet + 20], corpus)
    flips(stem, ext, data, first_packet, corpus)
    if level == "light":
        return
    for kind, copy in field_extremes(data, [(n, file_at + o, f) for n, o, f in FILE_FIELDS]):
        corpus.add(stem, "file_" + kind, ext, copy)
    for kind, copy in field_extremes(data, [(n, stream_at + o, f) for n, o, f in STREAM_FIELDS]):
        corpus.add(stem, "stream_" + kind, ext, copy)
    # Packet sizes that differ from what the packets hold.
    packet = struct.unpack_from("<I", data, file_at + 92)[0]
    for kind, value in (("packet_size_half", packet // 2), ("packet_size_double", packet * 2)):
        copy = patched(data, file_at + 92, "<I", value)
        struct.pack_into("<I", copy, file_at + 96, value)
        corpus.add(stem, kind, ext, copy)

    # The first packet's fields: error correction, length types, padding.
    corpus.add(stem, "packet_ec_flags_max", ext, patched(data, first_packet, "B", 0x8F))
    ec = 1 + (data[first_packet] & 0x0F) if data[first_packet] & 0x80 else 0
    for kind, value in (("packet_length_flags_max", 0xFF), ("packet_length_flags_zero", 0x00)):
        corpus.add(stem, kind, ext, patched(data, first_packet + ec, "B", value))
    corpus.add(stem, "packet_property_flags_max", ext, patched(data, first_packet + ec + 1, "B", 0xFF))
    last_packet = data_at + 50 + packet * (max(1, (len(data) - data_at - 50) // max(packet, 1)) - 1)
    if packet and last_packet + packet <= len(data):
        corpus.add(stem, "last_packet_random", ext, data[:last_packet] + bytes(corpus.rng.randrange(256) for _ in range(packet)) +
                   data[last_packet + packet:])
    for kind, value in (("data_packet_count_0", 0), ("data_packet_count_max", 0xFFFFFFFFFFFFFFFF)):
        corpus.add(stem, kind, ext, patched(data, data_at + 40, "<Q", value))
    corpus.add(stem, "header_count_max", ext, patched(data, 24, "<I", 0xFFFFFFFF))
    corpus.add(stem, "header_count_0", ext, patched(data, 24, "<I", 0))

    if level != "full":
        return
    # Tag objects whose lengths lie.
    if GUID["content"] in where:
        at = where[GUID["content"]][0]
        for i, name in enumerate(("title", "author", "copyright", "description", "rating")):
            corpus.add(stem, "content_%s_length_max" % name, ext, patched(data, at + 24 + 2 * i, "<H", 0xFFFF))
    if GUID["extended"] in where:
        at = where[GUID["extended"]][0]
        corpus.add(stem, "extended_count_max", ext, patched(data, at + 24, "<H", 0xFFFF))
        corpus.add(stem, "extended_name_length_max", ext, patched(data, at + 26, "<H", 0xFFFF))
        name_length = struct.unpack_from("<H", data, at + 26)[0]
        corpus.add(stem, "extended_value_type_invalid", ext, patched(data, at + 28 + name_length, "<H", 77))
        corpus.add(stem, "extended_value_length_max", ext, patched(data, at + 30 + name_length, "<H", 0xFFFF))
    for at, gid, size in subs:
        for kind, value in (("size_max", 0xFFFFFFFFFFFFFFFF), ("size_minus_1", size - 1)):
            name = next((n for n, g in GUID.items() if g == gid), None)
            if name:
                corpus.add(stem, "%s_object_%s" % (name, kind), ext, patched(data, at + 16, "<Q", value))
    # Objects out of order, doubled or missing.
    raw = [bytes(data[at:at + size]) for at, _, size in subs]
    head = lambda parts: (data[:16] + struct.pack("<QI", 30 + sum(len(p) for p in parts), len(parts)) + data[28:30] +
                          b"".join(parts) + data[header_size:])
    corpus.add(stem, "objects_reversed", ext, head(list(reversed(raw))))
    stream_raw = bytes(data[stream_at:stream_at + where[GUID["stream"]][1]])
    corpus.add(stem, "stream_twice", ext, head(raw + [stream_raw]))
    corpus.add(stem, "no_stream", ext, head([r for r in raw if r[:16] != GUID["stream"]]))
    corpus.add(stem, "no_file_properties", ext, head([r for r in raw if r[:16] != GUID["file"]]))
    corpus.add(stem, "packets_swapped", ext, data[:first_packet] + data[first_packet + packet:first_packet + 2 * packet] +
               data[first_packet:first_packet + packet] + data[first_packet + 2 * packet:])
