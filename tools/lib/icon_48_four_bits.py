#!/usr/bin/env python3
# The 48-pixel image of an icon as 4 bits a pixel with its transparency mask:
# the tile has fewer than 16 colours, and the program is kept small.
import struct, sys
path = sys.argv[1]
data = open(path, 'rb').read()
count = struct.unpack('<HHH', data[:6])[2]
entries = [struct.unpack('<BBBBHHII', data[6 + 16 * i:22 + 16 * i]) for i in range(count)]
images = []
for w, h, colours, reserved, planes, bits, size, offset in entries:
    image = data[offset:offset + size]
    if w == 48 and bits == 32:
        pixels = [image[40 + i:44 + i] for i in range(0, 48 * 48 * 4, 4)]
        palette = sorted({p[:3] for p in pixels if p[3] >= 128} | {b'\0\0\0'})
        assert len(palette) <= 16, len(palette)
        palette += [b'\0\0\0'] * (16 - len(palette))
        rows, mask = b'', b''
        for y in range(48):
            row = pixels[y * 48:(y + 1) * 48]
            indexes = [palette.index(p[:3]) if p[3] >= 128 else 0 for p in row]
            rows += bytes((indexes[x] << 4) | indexes[x + 1] for x in range(0, 48, 2))
            bitsRow = 0
            for x, p in enumerate(row):
                if p[3] < 128: bitsRow |= 1 << (47 - x)
            mask += bitsRow.to_bytes(6, 'big') + b'\0\0'
        header = struct.pack('<IiiHHIIiiII', 40, 48, 96, 1, 4, 0, len(rows) + len(mask), 0, 0, 16, 0)
        image = header + b''.join(c + b'\0' for c in palette) + rows + mask
        w, h, colours, bits = 48, 48, 16, 4
    images.append(((w, h, colours, reserved, planes, bits), image))
out = struct.pack('<HHH', 0, 1, count)
offset = 6 + 16 * count
for (w, h, colours, reserved, planes, bits), image in images:
    out += struct.pack('<BBBBHHII', w, h, colours, reserved, planes, bits, len(image), offset)
    offset += len(image)
out += b''.join(image for _, image in images)
open(path, 'wb').write(out)
