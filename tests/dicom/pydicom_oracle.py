#!/usr/bin/python3
"""Prints pydicom's raw view of one DICOM file, for RealFilesTest.cpp.

Usage: pydicom_oracle.py FILE

The test prints our reader's data set in the same form and compares the two texts.
pydicom decides how the file is laid out (meta header, body encoding and byte order,
with its own lenient guesses); the elements are then taken raw, as pydicom's reader
yields them, so that the value bytes are the file's bytes and not a re-encoding.

Output, one line each:
  TS <uid>|-                 transfer syntax from the meta header ("-" when none)
  BODY implicit|explicit little|big
  PIXLEN <n>|-               declared length of the top-level (7FE0,0010)
then every element in ascending tag order, nested levels prefixed by ">" (one per level):
  E gggg,eeee <length> <hex>   an element with a value (hex empty when length is 0)
  Q gggg,eeee <items>          a sequence split into items; each item is a line "I"
                               followed by its elements one level deeper
  P gggg,eeee <fragments>      encapsulated pixel data; each fragment a line
  F <length> <hex>             (the basic offset table is the first fragment)

The layout mirrors what our reader keeps:
  - group length elements (element 0000) are never stored, so they are left out;
  - binary values are held in little-endian order, so the numbers of a big-endian
    element are swapped by the size of one number of its VR;
  - a sequence is split into items when it has an undefined length, or a defined
    length and the explicit VR SQ; a defined-length sequence read without a VR
    (implicit VR) stays one opaque value;
  - a sequence without items is an element of length 0.
"""
import struct
import sys
import warnings

warnings.simplefilter("ignore")

import pydicom  # noqa: E402
from pydicom.dataelem import DataElement, DataElement_from_raw, RawDataElement  # noqa: E402
from pydicom.filereader import data_element_generator, read_preamble  # noqa: E402
from pydicom.sequence import Sequence  # noqa: E402

UNDEFINED = 0xFFFFFFFF
PIXEL_DATA = 0x7FE00010
# Bytes of one number of each binary VR: what a byte-order change swaps.
UNIT_SIZE = {}
for _vr in ("US", "SS", "OW", "AT"):
    UNIT_SIZE[_vr] = 2
for _vr in ("UL", "SL", "FL", "OF", "OL"):
    UNIT_SIZE[_vr] = 4
for _vr in ("FD", "OD", "SV", "UV", "OV"):
    UNIT_SIZE[_vr] = 8


def to_little_endian(value, vr):
    unit = UNIT_SIZE.get(str(vr) if vr is not None else "", 0)
    if unit < 2:
        return value
    out = bytearray(value)
    for i in range(0, len(out) - unit + 1, unit):
        out[i:i + unit] = out[i:i + unit][::-1]
    return bytes(out)


def tag_text(tag):
    return "%04x,%04x" % (tag >> 16, tag & 0xFFFF)


def fragments(value, little):
    """The items of encapsulated pixel data, split as our reader splits them."""
    order = "<" if little else ">"
    items = []
    at = 0
    while at + 8 <= len(value):
        group, element, length = struct.unpack(order + "HHL", value[at:at + 8])
        at += 8
        if (group in (0xFFFE, 0xFFE0)) and element == 0xE0DD:
            break
        if group == 0xFFFE and element == 0xE000:
            items.append(value[at:at + length])
            at += length
            continue
        if length == 0:
            break
        at += length
    return items


def emit_dataset(elements, depth, out):
    for elem in sorted(elements, key=lambda e: int(e.tag)):
        emit_element(elem, depth, out)


def emit_items(tag, sequence, depth, out):
    prefix = ">" * depth
    if len(sequence) == 0:
        out.append("%sE %s 0 " % (prefix, tag_text(tag)))
        return
    out.append("%sQ %s %d" % (prefix, tag_text(tag), len(sequence)))
    for item in sequence:
        out.append("%sI" % prefix)
        emit_dataset(list(item._dict.values()), depth + 1, out)


def emit_element(elem, depth, out):
    tag = int(elem.tag)
    if tag & 0xFFFF == 0:
        return  # group lengths are made anew on output, never stored
    prefix = ">" * depth
    if isinstance(elem, DataElement):
        # Only sequences of undefined length come out of pydicom's reader converted.
        if isinstance(elem.value, Sequence):
            emit_items(tag, elem.value, depth, out)
            return
        raise SystemExit("oracle: unexpected converted element %s" % tag_text(tag))

    assert isinstance(elem, RawDataElement)
    value = elem.value or b""
    vr = str(elem.VR) if elem.VR is not None else None
    if elem.length == UNDEFINED:
        if tag == PIXEL_DATA:
            frags = fragments(value, elem.is_little_endian)
            if not frags:
                out.append("%sE %s 0 " % (prefix, tag_text(tag)))
                return
            out.append("%sP %s %d" % (prefix, tag_text(tag), len(frags)))
            for f in frags:
                out.append("%sF %d %s" % (prefix, len(f), f.hex()))
            return
        # pydicom kept an undefined-length value that it could not see as a sequence.
        out.append("%sE %s UNDEFINED %s" % (prefix, tag_text(tag), value.hex()))
        return
    if vr == "SQ" and not elem.is_implicit_VR:
        emit_items(tag, DataElement_from_raw(elem).value, depth, out)
        return
    if not elem.is_little_endian:
        value = to_little_endian(value, vr)
    out.append("%sE %s %d %s" % (prefix, tag_text(tag), elem.length, value.hex()))


def main():
    path = sys.argv[1]
    # pydicom's decisions: meta header, body encoding and byte order.
    ds = pydicom.dcmread(path, force=True)
    implicit, little = ds.is_implicit_VR, ds.is_little_endian
    file_meta = getattr(ds, "file_meta", None)
    ts = None
    if file_meta is not None and "TransferSyntaxUID" in file_meta:
        ts = str(file_meta.TransferSyntaxUID)
    meta_implicit = False
    if file_meta is not None:
        for e in file_meta._dict.values():
            if isinstance(e, RawDataElement):
                meta_implicit = e.is_implicit_VR
                break

    # The same file again, raw: pydicom's element reader converts nothing in place.
    elements = []
    with open(path, "rb") as fp:
        read_preamble(fp, True)
        if file_meta is not None and len(file_meta) > 0:
            elements.extend(data_element_generator(
                fp, meta_implicit, True, stop_when=lambda tag, vr, length: tag.group != 2))
        elements.extend(data_element_generator(fp, implicit, little))

    out = ["TS %s" % (ts if ts else "-"),
           "BODY %s %s" % ("implicit" if implicit else "explicit", "little" if little else "big")]
    pixels = [e for e in elements if int(e.tag) == PIXEL_DATA]
    out.append("PIXLEN %s" % (str(pixels[0].length) if pixels and isinstance(pixels[0], RawDataElement)
                              else "-"))
    emit_dataset(elements, 0, out)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
