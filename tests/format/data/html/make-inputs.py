#!/usr/bin/env python3
"""Writes the smallest pattern files that once hung the Directions page:
one Directions tab whose HTML nests tables 20 deep, and one whose tables
are spelt with entities, 40 deep. Run from this folder."""
import struct


def string(text):
    data = text.encode('utf-16-be')
    return struct.pack('>I', len(data)) + data


def pattern(html):
    return (struct.pack('>ii', 0x2AC9863F, 201002) + string('<Document>')
            + string('PageSize:') + struct.pack('>i', 0)
            + string('DocKeyHash:') + struct.pack('>I', 0)
            + string('ShowWS:') + b'\x01'
            + string('<Directions>') + string('Name:') + string('Document')
            + string('Html:') + string(html)
            + string('<ImgList>') + string('</ImgList>') + string('</Directions>')
            + string('</Document>'))


def nested(open_tag, close_tag, levels):
    return open_tag * levels + 'x' + close_tag * levels


with open('tables-20.kit', 'wb') as out:
    out.write(pattern(nested('<table><tr><td>', '</td></tr></table>', 20)))
with open('spelt-tables.kit', 'wb') as out:
    out.write(pattern(nested('<t&#97;ble><tr><td>', '</td></tr></t&#97;ble>', 40)))
