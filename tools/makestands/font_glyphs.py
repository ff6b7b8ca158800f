# Rasterises the two fonts of the stand pictures into font_glyphs.h (run once; needs ImageMagick):
#   python3 tools/makestands/font_glyphs.py > tools/makestands/font_glyphs.h
import subprocess, sys
chars = [chr(c) for c in range(33,127)] + list("ÄÖÜäöüß²°")
def glyph(font, size, ch):
    out = subprocess.run(["convert","-background","black","-fill","white","-font",font,"-pointsize",str(size),"-depth","8","label:"+("\\"+ch if ch in "@\\" else ch),"pgm:-"],capture_output=True).stdout
    # parse P5
    parts = out.split(b"\n",3)
    w,h = map(int, parts[1].split()); data = parts[3]
    return w,h,data[:w*h]
def emit(name, font, size):
    lines=[]
    glyphs=[]
    for ch in chars:
        w,h,d = glyph(font,size,ch)
        glyphs.append((ch,w,h,d))
    h = glyphs[0][2]
    lines.append(f"// {name}: rasterised once from {font.split('/')[-1]} at {size} pt (alpha 0..255, rows top to bottom).")
    lines.append(f"inline const Glyph k{name}[] = {{")
    for ch,w,hh,d in glyphs:
        assert hh==h, (ch,hh,h)
        cp = ord(ch)
        data = ",".join(str(b) for b in d)
        lines.append(f"  {{0x{cp:04X}, {w}, {hh}, {{{data}}}}},")
    lines.append("};")
    return "\n".join(lines), h
a,h1 = emit("SmallFont","/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",8)
b,h2 = emit("HeadingFont","/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",10)
print("// Generated glyph bitmaps of the DejaVu fonts (Bitstream Vera / DejaVu licence, free to embed).")
print("// Do not edit by hand.")
print("#pragma once")
print("#include <cstdint>")
print("#include <vector>")
print("namespace tolvek::makestands {")
print("struct Glyph { char32_t code; int width; int height; std::vector<std::uint8_t> alpha; };")
print(a); print(b)
print("}  // namespace tolvek::makestands")
