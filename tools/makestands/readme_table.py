# Prints the stand table of data/README.md from the shipped files (run in data/):
#   cd data && python3 ../tools/makestands/readme_table.py
cat = [l.rstrip('\r\n') for l in open('Vorgaben/Tolvek01.txt', encoding='utf-8')]
vc = {int(l.split()[0]): l.split() for l in open('Vorgaben/Tolvek02.txt')}
pattern = {1: 'planted rows 2.5 x 2.0 m', 2: 'random, mild inhibition', 3: 'beech in groups', 4: 'planted rows 4 x 2 m',
           5: 'spruce understorey in clusters', 6: 'regular, 6 storm gaps', 7: 'regular', 8: 'beech clustered below',
           9: 'fir clustered, beech in groups', 10: 'fir clustered', 11: 'strongly regular',
           12: 'two layers, beech understorey clustered; U-shaped boundary', 13: 'random; boundary counter-clockwise',
           14: 'single-tree mixture', 15: '3 gaps; dented boundary', 16: 'clustered (natural regeneration)',
           17: 'maple in groups', 18: 'oak rows, hornbeam understorey', 19: 'oak in groups', 20: 'regular', 21: 'regular',
           22: 'ash and maple clustered', 23: 'spruce in groups; L-shaped boundary', 24: '8 gaps, s.Laubb clustered',
           25: 'regular, 5 gaps', 26: 'two layers, beech understorey clustered', 27: 'ash clustered',
           28: 'sparse, irregular boundary', 29: 'fir in large groups', 95: 'Poisson (complete randomness)',
           96: 'Thomas clusters', 97: 'hard-core (regular)', 98: '10 gaps', 99: 'group mixture'}
names = {1: 'Fichte', 2: 'Tanne', 3: 'Kiefer', 4: 'Douglas', 5: 'Buche', 6: 'Eiche', 7: 'Esche', 8: 'Ahorn', 9: 's.Laubb'}
print('| entry | tree file | stand | kind / mixture / size | species (share of stems) | pattern | area ha | trees | N/ha | G/ha |')
print('|---|---|---|---|---|---|---|---|---|---|')
for k, l in enumerate(cat, 1):
    nn = l[6:8]
    n = int(nn)
    folder = 'StandsCH' if 71 <= n <= 90 else 'Bestande'
    data = open(f'{folder}/wBestnd{nn}.txt', 'rb').read()
    sp = {}
    for i in range(0, len(data), 16):
        sp[data[i]] = sp.get(data[i], 0) + 1
    tot = len(data) // 16
    mix = ', '.join(f'{names[s]} {round(100 * c / tot)} %' for s, c in sorted(sp.items()))
    v = vc[n]
    pat = pattern.get(n, 'selection forest: reverse-J, thin trees in regeneration clusters'
                      + ('; exactly 1121 trees' if n == 71 else '') + ('; coordinates offset (30, 20)' if n == 88 else ''))
    print(f'| {k} | {folder}/wBestnd{nn}.txt | {nn} | {l[31]} / {l[29]} / {l[33]} | {mix} | {pat} | '
          f'{float(v[1]):.2f} | {tot} | {float(v[2]):.0f} | {float(v[3]):.1f} |')
