#!/usr/bin/env bash
# Writes the fuzz targets' seed corpora from a folder of generated assets:
#   scripts/fuzz-seeds.sh ASSET_DIR OUT_DIR
# Each picture is also cut down to an 8 x 8 copy with its own header bytes and first pixels, and
# the large mesh to a four-vertex one, so the fuzzer starts from small, well-formed files.
set -euo pipefail
assets=${1:?asset folder}
out=${2:?output folder}
for target in bmp tga image_load mesh path heightmap caustics; do mkdir -p "$out/$target"; done

# put32 FILE OFFSET VALUE / put16: little-endian integers written into FILE in place.
put32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($3 & 255)) $(($3 >> 8 & 255)) $(($3 >> 16 & 255)) $(($3 >> 24 & 255)))" |
          dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
put16() { printf "$(printf '\\x%02x\\x%02x' $(($3 & 255)) $(($3 >> 8 & 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
# small SOURCE HEADER_BYTES PIXEL_BYTES DEST: the header, then the first pixel bytes.
small() { { head -c "$2" "$1"; dd if="$1" iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none; } > "$4"; }

shopt -s nullglob nocaseglob
for picture in "$assets"/TEKSTURY/*.bmp "$assets"/TEKSTURY/WODA/caust0.bm[p]; do
  name=$(basename "$picture")
  small "$picture" 54 192 "$out/bmp/small-$name"
  put32 "$out/bmp/small-$name" 18 8
  put32 "$out/bmp/small-$name" 22 8
  head -c 54 "$picture" > "$out/bmp/header-$name"   # the header alone, claiming the whole size
done
cp "$assets"/TEKSTURY/particle.bm[p] "$out/bmp/"
for picture in "$assets"/TEKSTURY/*.tga; do
  name=$(basename "$picture")
  small "$picture" 18 256 "$out/tga/small-$name"
  put16 "$out/tga/small-$name" 12 8
  put16 "$out/tga/small-$name" 14 8
  head -c 18 "$picture" > "$out/tga/header-$name"
done
# Plain files as other programs write them: padded rows stored top-down; a 124-byte header with
# the bit masks of a 32-bit picture; a Targa with an image ID and its origin at the top right.
stars=$(echo "$assets"/TEKSTURY/stars.bm[p])
small "$stars" 54 48 "$out/bmp/topdown-padded.bmp"   # 5 x 3 pixels, rows padded to 16 bytes
put32 "$out/bmp/topdown-padded.bmp" 18 5
put32 "$out/bmp/topdown-padded.bmp" 22 -3
masked=$out/bmp/v5-masked.bmp
{ head -c 54 "$stars"; head -c 84 /dev/zero; dd if="$stars" iflag=skip_bytes,count_bytes skip=54 count=16 status=none; } > "$masked"
put32 "$masked" 10 138
put32 "$masked" 14 124
put32 "$masked" 18 2
put32 "$masked" 22 2
put16 "$masked" 28 32
put32 "$masked" 30 3
put32 "$masked" 54 0xFF0000
put32 "$masked" 58 0xFF00
put32 "$masked" 62 0xFF
put32 "$masked" 66 0xFF000000
leaves=$(echo "$assets"/TEKSTURY/liscie.tg[a])
named=$out/tga/id-top-right.tga
{ head -c 18 "$leaves"; printf 'seed!'; dd if="$leaves" iflag=skip_bytes,count_bytes skip=18 count=64 status=none; } > "$named"
printf '\x05' | dd of="$named" bs=1 seek=0 conv=notrunc status=none
put16 "$named" 12 4
put16 "$named" 14 4
printf '\x38' | dd of="$named" bs=1 seek=17 conv=notrunc status=none
cp "$out"/bmp/* "$out"/tga/* "$out/image_load/"

ramka=$(echo "$assets"/DANE/ramka.da[t])
cp "$ramka" "$out/mesh/ramka.dat"
cat "$ramka" "$ramka" "$ramka" "$ramka" > "$out/mesh/four-in-a-row.dat"
small "$(echo "$assets"/DANE/data.da[t])" 112 128 "$out/mesh/small-data.dat"
put32 "$out/mesh/small-data.dat" 100 2
put32 "$out/mesh/small-data.dat" 104 4
printf '\0\0\1\0\2\0\0\0\2\0\3\0' >> "$out/mesh/small-data.dat"
cat "$out/mesh/small-data.dat" "$ramka" > "$out/mesh/two-in-a-row.dat"

track=$(echo "$assets"/DANE/track.da[t])
head -c 120 "$track" > "$out/path/ten-points.dat"
head -c 125 "$track" > "$out/path/ten-points-and-a-tail.dat"
cp "$track" "$out/path/track.dat"

teren=$(echo "$assets"/TEKSTURY/teren.bm[p])
cp "$teren" "$out/heightmap/teren.bmp"
small "$teren" 54 192 "$out/heightmap/small-teren.bmp"
put32 "$out/heightmap/small-teren.bmp" 18 8
put32 "$out/heightmap/small-teren.bmp" 22 8
small "$teren" 54 120 "$out/heightmap/padded-teren.bmp"   # 5 x 6 pixels, rows padded to 16 bytes
put32 "$out/heightmap/padded-teren.bmp" 18 5
put32 "$out/heightmap/padded-teren.bmp" 22 6

# The caustic target's texture is 16 x 16: cut each caustic picture to that size.
for picture in "$assets"/TEKSTURY/WODA/caust*.bm[p]; do
  name=$(basename "$picture")
  small "$picture" 54 768 "$out/caustics/$name"
  put32 "$out/caustics/$name" 18 16
  put32 "$out/caustics/$name" 22 16
done
