#!/usr/bin/env bash
# Checks the GIMP plug-in inside GIMP 2.10 itself: gimp-console in batch mode, with a
# private profile folder (GIMP2_DIRECTORY) that holds only the plug-in, driven by
# Script-Fu, loads small pictures, calls plug-in-corvanthe non-interactively with a
# descriptor text, and saves the results, which must be:
#  - for an 8-bit RGB picture, an RGBA layer and a grey picture: the pixels of
#    `corvanthe render --play` with the same descriptor, exactly;
#  - for a layer smaller than the canvas and offset on it: the same, in its own coordinates;
#  - with a rectangular selection: unchanged outside it, changed inside;
#  - with the last values, and interactively (the plug-in's dialog is confirmed at once
#    where it has none): the result of the run before;
#  - for a 16-bit picture: the command's 16-bit render of the same picture, exactly;
#  - for a 32-bit float picture: the command's float render, exactly, samples beyond
#    full intensity included (both keep floats unclamped);
#  - with a missing settings file or a descriptor text that is not JSON: a GIMP error
#    carrying the plug-in's message, and the picture untouched (still clean, same pixels);
#  - with the undo history enabled: the image clean before the filter and dirty after it.
# Usage: tests/gimp/check_gimp_plugin.sh [build folder, default build/default]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(cd "${1:-build/default}" && pwd)
command="$build/apps/cli/corvanthe"
compare="$build/tests/gimp/corvanthe_compare_images"
plug_in="$build/apps/gimp/gimp-plug-in"
for needed in "$command" "$compare" "$plug_in/corvanthe" "$plug_in/libcorvanthe.so"; do
  [ -e "$needed" ] || { echo "missing $needed: build the corvanthe_gimp, corvanthe_cli and corvanthe_compare_images targets first"; exit 1; }
done
command -v gimp-console-2.10 > /dev/null || { echo "gimp-console-2.10 is missing: bash scripts/setup.sh gimp"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

mkdir -p "$work/profile/plug-ins/corvanthe" "$work/cache"
cp "$plug_in/corvanthe" "$plug_in/libcorvanthe.so" "$work/profile/plug-ins/corvanthe/"
export GIMP2_DIRECTORY="$work/profile" XDG_CACHE_HOME="$work/cache"
cd "$work"

# Small pictures: a colour gradient in RGB, with alpha (never fully transparent), and grey.
corners="topleft=0.1,0.2,0.9:topright=0.8,0.3,0.1:bottomleft=0.2,0.9,0.4:bottomright=0.6,0.1,0.7"
oiiotool --pattern "fill:$corners" 64x48 3 -d uint8 -o rgb.png
oiiotool --pattern "fill:topleft=0.1,0.2,0.9,0.3:topright=0.8,0.3,0.1,1:bottomleft=0.2,0.9,0.4,0.6:bottomright=0.6,0.1,0.7,0.9" \
  64x48 4 -d uint8 -o rgba.png
oiiotool --pattern "fill:topleft=0.1:topright=0.8:bottomleft=0.5:bottomright=0.95" 64x48 1 -d uint8 -o grey.png

# A small sun near the middle, glued with "procedural +", which keeps every pixel of the
# picture in play ("normal" covers the whole picture with the render, whatever it held).
# Its centre is one the plug-in's cached settings file keeps exactly, for the last values.
descriptor='{"0014": 14, "0050": 0.5, "0051": 0.375, "sgky": "sg02"}'
printf '%s\n' "$descriptor" > descriptor.json
scheme_descriptor=${descriptor//\"/\\\"}

cat > check.scm <<SCHEME
(define descriptor "$scheme_descriptor")
(define (open-picture file) (car (gimp-file-load RUN-NONINTERACTIVE file file)))
(define (drawable-of image) (car (gimp-image-get-active-drawable image)))
(define (save image file) (gimp-file-save RUN-NONINTERACTIVE image (drawable-of image) file file))
(define (corvanthe image settings text)
  (plug-in-corvanthe RUN-NONINTERACTIVE image (drawable-of image) settings text))
(define (flag value) (number->string (car value)))
(define (say . words) (gimp-message (apply string-append "check: " words)))

(for-each (lambda (name)
            (let ((image (open-picture (string-append name ".png"))))
              (corvanthe image "" descriptor)
              (save image (string-append name "-gimp.png"))))
          '("rgb" "rgba" "grey"))

; A layer smaller than the canvas, away from its corner: filtered in its own coordinates.
(let ((image (open-picture "rgb.png")))
  (gimp-image-resize image 80 60 9 5)
  (corvanthe image "" descriptor)
  (gimp-image-resize image 64 48 -9 -5)
  (save image "offset-layer-gimp.png"))

(let ((image (open-picture "rgb.png")))
  (gimp-image-select-rectangle image CHANNEL-OP-REPLACE 10 8 30 20)
  (corvanthe image "" descriptor)
  (save image "selection-gimp.png"))

; The last values, and the interactive mode, whose dialog is confirmed at once where the
; plug-in has none: both the settings of the run before.
(for-each (lambda (mode name)
            (let ((image (open-picture "rgb.png")))
              (plug-in-corvanthe mode image (drawable-of image) "" "")
              (save image name)))
          (list RUN-WITH-LAST-VALS RUN-INTERACTIVE) '("last-values-gimp.png" "interactive-gimp.png"))

; 250: 16-bit gamma integer; 650: 32-bit gamma float. The converted picture is saved
; first, so that the command renders the very same samples.
(let ((image (open-picture "rgb.png")))
  (gimp-image-convert-precision image 250)
  (save image "u16.png")
  (corvanthe image "" descriptor)
  (save image "u16-gimp.png"))
(let ((image (open-picture "rgb.png")))
  (gimp-image-convert-precision image 650)
  (save image "float.tif")
  (corvanthe image "" descriptor)
  (save image "float-gimp.tif"))

(let ((image (open-picture "rgb.png")))
  (gimp-image-clean-all image)
  (say "undo enabled " (flag (gimp-image-undo-is-enabled image)) " dirty before " (flag (gimp-image-is-dirty image)))
  (corvanthe image "" descriptor)
  (say "dirty after " (flag (gimp-image-is-dirty image))))

(for-each (lambda (case)
            (let ((image (open-picture "rgb.png")))
              (gimp-image-clean-all image)
              (say (car case) " " (catch "failed" (corvanthe image (cadr case) (caddr case)) "succeeded")
                   " dirty " (flag (gimp-image-is-dirty image)))
              (save image (string-append (car case) "-gimp.png"))))
          '(("missing-file" "missing-settings.q4q" "") ("invalid-json" "" "{\"0014\": 14")))
SCHEME

gimp-console-2.10 -i -d -f -b "$(cat check.scm)" -b '(gimp-quit 0)' > gimp.log 2>&1 || {
  cat gimp.log; fail "gimp-console ran the batch"; }
grep -q 'batch command executed successfully' gimp.log || { cat gimp.log; fail "the batch ran to its end"; }

render() { "$command" render "$1" --play descriptor.json -o "$2" --quiet; }
same() { "$compare" same "$@"; }
for name in rgb rgba grey; do
  render "$name.png" "$name-command.png"
  check "8-bit $name picture: GIMP's result equals the command's" same "$name-gimp.png" "$name-command.png"
done
check "layer with offsets on a larger canvas: filtered in its own coordinates" same offset-layer-gimp.png rgb-command.png
check "rectangular selection: unchanged outside, changed inside" \
  "$compare" selection rgb.png selection-gimp.png 10 8 30 20
check "last values: the settings of the run before" same last-values-gimp.png rgb-command.png
check "interactive without a dialog: the settings of the run before" same interactive-gimp.png rgb-command.png
render u16.png u16-command.png
check "16-bit picture: GIMP's result equals the command's" same u16-gimp.png u16-command.png
render float.tif float-command.tif
check "32-bit float picture: GIMP's result equals the command's" same float-gimp.tif float-command.tif

said() { grep -qF "$1" gimp.log; }
check "undo: enabled, clean before the filter" said "check: undo enabled 1 dirty before 0"
check "undo: dirty after the filter" said "check: dirty after 1"
check "missing settings file: the call fails, the picture stays clean" said "check: missing-file failed dirty 0"
check "missing settings file: GIMP reports the plug-in's message" \
  said "Corvanthe: cannot open settings file 'missing-settings.q4q'"
check "missing settings file: the pixels are untouched" same rgb.png missing-file-gimp.png
check "invalid descriptor text: the call fails, the picture stays clean" said "check: invalid-json failed dirty 0"
check "invalid descriptor text: GIMP reports the plug-in's message" \
  said "Corvanthe: the descriptor text is not a recorded descriptor in JSON"
check "invalid descriptor text: the pixels are untouched" same rgb.png invalid-json-gimp.png

if [ "$failures" -ne 0 ]; then
  echo "GIMP log:"; cat gimp.log
  echo "$failures GIMP plug-in checks failed"
  exit 1
fi
echo "all GIMP plug-in checks passed"
