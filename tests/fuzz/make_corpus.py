#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora, one folder per target in corpus/: for the bitmap reader
one tiny file per variant it knows and a few broken ones, so that fuzzing starts from every
branch of the header checks; for the number readers the kinds of text typed into the
fields; for the settings file real and broken files with a section, key and value to write.
The files are committed; run this again only to change them."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bitmap(bits, width, height, rows, header=40, compression=0, colours_used=0, masks=(), table=(),
           offset=None, core_table=False):
    """A bitmap file: file header, information header of `header` bytes (12 for OS/2 core),
    masks (inside a header of 52 bytes or more, else after it), colour table (colour values
    0xRRGGBB), then the rows in file order, each padded to 4 bytes."""
    if header == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bits)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, height, 1, bits, compression, 0, 3780, 3780,
                           colours_used, 0)
        inside = b''.join(struct.pack('<I', m) for m in masks) if header > 40 else b''
        info = (info + inside).ljust(header, b'\0')
        if header == 40:
            info += b''.join(struct.pack('<I', m) for m in masks)
    for colour in table:
        entry = bytes([colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF])
        info += entry if core_table else entry + b'\0'
    pixels = b''.join(bytes(row).ljust((len(row) + 3) // 4 * 4, b'\0') for row in rows)
    offset = 14 + len(info) if offset is None else offset
    body = info.ljust(offset - 14, b'\0')
    return b'BM' + struct.pack('<IHHI', 14 + len(body) + len(pixels), 0, 0, offset) + body + pixels


def u16(*values):
    return b''.join(struct.pack('<H', v) for v in values)


def u32(*values):
    return b''.join(struct.pack('<I', v) for v in values)


FILES = {
    'indexed-1bit.bmp': bitmap(1, 10, 2, [[0b10110010, 0b01000000], [0b01010101, 0b10000000]],
                               table=[0xFF0000, 0x00C800]),
    'indexed-4bit.bmp': bitmap(4, 3, 2, [[0x2F, 0x10], [0x0E, 0xD0]], table=range(0, 0x100000, 0x10000)),
    'indexed-8bit-short-table.bmp': bitmap(8, 4, 1, [[0, 1, 2, 255]], colours_used=3,
                                           table=[0x123456, 0xABCDEF, 0xFFFFFF]),
    'rgb555.bmp': bitmap(16, 3, 1, [u16(0x7FFF, 0x0210, 0x8001)]),
    'bitfields-565.bmp': bitmap(16, 2, 2, [u16(0xF800, 0x07E0), u16(0x001F, 0x8410)], compression=3,
                                masks=(0xF800, 0x07E0, 0x001F)),
    'alphabitfields-4444.bmp': bitmap(16, 1, 1, [u16(0x735A)], compression=6,
                                      masks=(0x0F00, 0x00F0, 0x000F, 0xF000)),
    'bgr24.bmp': bitmap(24, 3, 2, [[1, 2, 3, 4, 5, 6, 7, 8, 9], [10, 11, 12, 13, 14, 15, 16, 17, 18]]),
    'bgr24-top-down.bmp': bitmap(24, 1, -3, [[1, 2, 3], [4, 5, 6], [7, 8, 9]]),
    'bgrx32.bmp': bitmap(32, 2, 1, [[1, 2, 3, 255, 4, 5, 6, 0]]),
    'v5-bitfields-1010102.bmp': bitmap(32, 1, 1, [u32(1023 << 20 | 512 << 10 | 1 | 3 << 30)], header=124,
                                       compression=3, masks=(0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000)),
    'v4-bitfields-565.bmp': bitmap(16, 2, 1, [u16(0x001F, 0xF800)], header=108, compression=3,
                                   masks=(0xF800, 0x07E0, 0x001F, 0)),
    'v2-bgr24.bmp': bitmap(24, 1, 1, [[0xAB, 0xCD, 0xEF]], header=52),
    'v3-bitfields-32.bmp': bitmap(32, 1, 1, [[0x10, 0x20, 0x30, 0x40]], header=56, compression=3,
                                  masks=(0xFF, 0xFF00, 0xFF0000, 0xFF000000)),
    'os2-core-8bit.bmp': bitmap(8, 2, 1, [[0, 255]], header=12, table=[0x0000FF] * 255 + [0xFF0000],
                                core_table=True),
    # Broken ones: each is refused for one reason.
    'broken-last-row-short.bmp': bitmap(24, 2, 2, [[1, 2, 3, 4, 5, 6], [7, 8, 9, 10, 11, 12]])[:-3],
    'broken-rle8.bmp': bitmap(8, 2, 1, [[2, 0, 0, 1]], compression=1, table=[0, 0xFFFFFF]),
    'broken-huge.bmp': bitmap(32, 16384, 16384, [[0] * 8]),
    'broken-offset-in-header.bmp': bitmap(24, 1, 1, [[1, 2, 3]], offset=30),
}

NUMBERS = {
    'integer': b'120', 'negative-fraction': b'-0.25', 'exponent': b'1.5E+3', 'blanks': b' \t42\r\n',
    'leading-number': b'12abc', 'point-only': b'.', 'two-points': b'1.2.3', 'huge': b'1e999',
    'tiny': b'-1e-999', 'half': b'2.5', 'int-limit': b'2147483647.5', 'hex': b'00FF7f', 'hex-long': b'123456789',
    'empty': b'',
}

# The settings file, then NUL, section, NUL, key, NUL, value.
PROFILES = {
    'slots': b'[Position]\r\nPosition0X=100\r\nPosition0Y=200\r\nColor0=255\r\n[Bmp]\r\nMousePoint=0\r\n'
             b'\0Position\0Position3X\0120',
    'new-section': b'[Bmp]\r\nBmpFilePath=/home/user/Pictures/Pelmora\0Wayland\0ShowNotice\00',
    'comments-and-case': b'; mine\n[bmp]\nmousepoint = "1"\n[Other]\nk=v' b'\0BMP\0MousePoint\0 1 ',
    'line-ends-mixed': b'[A]\rk=1\n\n[B]\r\nk=2' b'\0B\0k\0two\r\nlines',
    'no-line-end': b'[Position]' b'\0Position\0Color9\016777215',
    'utf8-value': '[Bmp]\r\nBmpFilePath=/tmp/图片\r\n'.encode() + b'\0Bmp\0BmpFilePath\0' + '/tmp/截图'.encode(),
    'quoted': b'[S]\r\nk=\'x\'\r\n\0S\0k\0"quoted"',
    'empty': b'\0S\0k\0',
}


def write(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(data)
    print(f'{len(files)} seed files in {folder}')


if __name__ == '__main__':
    corpus = os.path.join(HERE, 'corpus')
    write(os.path.join(corpus, 'bitmap'), FILES)
    write(os.path.join(corpus, 'number'), NUMBERS)
    write(os.path.join(corpus, 'profile'), PROFILES)
