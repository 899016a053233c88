#!/usr/bin/env python3
"""Writes the committed seed inputs of the fuzz targets (run once; the
outputs are committed). Program records are built here from the chunk
layout: magic, index, ten values, editor width and height, 24-byte name."""
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
MAGIC = 0x8CAC4436


def record(index, values, name, width=0.0, height=0.0):
    return (struct.pack('<Ii', MAGIC, index) + struct.pack('<10f', *values) +
            struct.pack('<2f', width, height) + name.encode().ljust(24, b'\0')[:24])


DEFAULTS = [0.0, 0.0, 0.5, 0.0, 0.5, 0.5, 0.5, 0.0, 0.0, 1.0]
LARGE_PLATE = [0.7166667, 0.514, 0.315, 0.3684, 0.8, 0.5, 0.5, 0.0, 0.0, 1.0]


def bank(names=None):
    return b''.join(record(i, LARGE_PLATE if i == 7 else DEFAULTS, 'Program %d' % (i + 1))
                    for i in range(10))


def fxp(chunk, name='08 Large Plate', fxid=b'KV52'):
    body = b'FPCh' + struct.pack('>i', 1) + fxid + struct.pack('>ii', 1, 10)
    body += name.encode().ljust(28, b'\0')[:28] + struct.pack('>i', len(chunk)) + chunk
    return b'CcnK' + struct.pack('>i', len(body)) + body


def fxb(chunk, current=0, version=2, fxid=b'KV52'):
    body = b'FBCh' + struct.pack('>i', version) + fxid + struct.pack('>ii', 1, 10)
    body += struct.pack('>i', current) + bytes(124) + struct.pack('>i', len(chunk)) + chunk
    return b'CcnK' + struct.pack('>i', len(body)) + body


def call(op, index=0, value=0, opt=0.0, payload=b''):
    return bytes([op]) + struct.pack('<iqfH', index, value, opt, len(payload)) + payload


def set_parameter(index, value):
    return bytes([200]) + struct.pack('<bf', index, value)


def process(frames):
    return bytes([230]) + struct.pack('<H', frames)


def write(folder, name, data):
    path = os.path.join(here, 'corpus', folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    preset = record(7, LARGE_PLATE, '08 Large Plate')
    full = bank()
    write('chunk', 'preset-80', preset)
    write('chunk', 'preset-index-3-short', record(3, DEFAULTS, 'x')[:40])
    write('chunk', 'bank-800', full)
    # Stride 56: every record without its name.
    write('chunk', 'bank-stride-56', b''.join(full[i * 80:i * 80 + 56] for i in range(10)))
    write('chunk', 'bank-stops-at-4', full[:320] + bytes(480))
    write('chunk', 'preset-81-too-long', preset + b'\0')
    write('chunk', 'bank-801-too-long', full + b'\0')
    write('chunk', 'preset-index-10', record(10, DEFAULTS, 'x'))
    write('chunk', 'preset-without-magic', bytes([0x55]) * 80)
    write('chunk', 'preset-4-bytes', preset[:4])
    write('chunk', 'empty', b'')
    # Values beyond 0-1, infinite, negative zero and not a number, to be clamped.
    write('chunk', 'preset-wild-values',
          record(3, [4.0, -2.0, float('inf'), -0.0, float('nan'), 1.5, 0.25, -1e30, 0.5, 7.0], 'Wild'))

    write('presetfile', 'preset.fxp', fxp(preset))
    write('presetfile', 'bank-v2.fxb', fxb(full, current=7))
    write('presetfile', 'bank-v1.fxb', fxb(full, version=1))
    write('presetfile', 'other-plugin.fxp', fxp(preset, fxid=b'ABCD'))

    write('dispatcher', 'program-and-chunks',
          call(2, value=7) + process(256) + call(23, index=0) + set_parameter(0, 0.5) +
          process(100) + call(23, index=1) + call(5) + call(29, index=4))
    write('dispatcher', 'set-chunks',
          call(24, index=1, payload=preset) + call(7, index=3) + call(8, index=0) +
          call(24, index=0, payload=full[:560]) + process(65) + call(3))
    write('dispatcher', 'host-habits',
          call(35) + call(10, opt=96000.0) + call(11, value=1024) + call(12, value=1) +
          call(71) + process(1024) + call(44, value=1) + process(768) +
          call(51, payload=b'bypass') + call(12, value=0) + call(72) + call(12, value=1) +
          call(12, value=1) + process(1))
    write('dispatcher', 'names-and-texts',
          call(4, payload=b'A name longer than twenty-four bytes') + call(5) + call(45) + call(47) +
          call(48) + call(13) + set_parameter(3, 2.0) + call(7, index=3) + set_parameter(10, 1.0))
    return 0


if __name__ == '__main__':
    sys.exit(main())
