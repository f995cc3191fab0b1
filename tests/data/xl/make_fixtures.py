#!/usr/bin/env python3
# Writes the small workbook-file fixtures of the xlsx tests (run from this folder).
# sample_saved_by_calc.xlsx is not written here: it is the tests' sample book as our writer writes it,
# saved again by LibreOffice Calc (soffice --headless --convert-to xlsx).
import zipfile

MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
PKG = 'http://schemas.openxmlformats.org/package/2006/relationships'
HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

CONTENT_TYPES = HEAD + '''<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
</Types>'''

ROOT_RELS = HEAD + f'''<Relationships xmlns="{PKG}">
<Relationship Id="rId1" Type="{REL}/officeDocument" Target="/xl/workbook.xml"/>
</Relationships>'''

WORKBOOK = HEAD + f'''<workbook xmlns="{MAIN}" xmlns:r="{REL}">
<bookViews><workbookView activeTab="2"/></bookViews>
<sheets>
<sheet name="Sheet A" sheetId="1" r:id="rId1"/>
<sheet name="Chart1" sheetId="2" r:id="rId2"/>
<sheet name="シートB" sheetId="3" r:id="rId3"/>
</sheets>
<definedNames>
<definedName name="_xlnm.Print_Area" localSheetId="0">'Sheet A'!$A$1:$F$6</definedName>
<definedName name="OnChart" localSheetId="1">Chart1!$A$1</definedName>
<definedName name="Local" localSheetId="2">シートB!$A$1</definedName>
<definedName name="Global">'Sheet A'!$B$1</definedName>
</definedNames>
</workbook>'''

WORKBOOK_RELS = HEAD + f'''<Relationships xmlns="{PKG}">
<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="{REL}/chartsheet" Target="chartsheets/sheet1.xml"/>
<Relationship Id="rId3" Type="{REL}/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId4" Type="{REL}/styles" Target="styles.xml"/>
<Relationship Id="rId5" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>
<Relationship Id="rId6" Type="{REL}/theme" Target="theme/theme1.xml"/>
<Relationship Id="rId7" Type="{REL}/hyperlink" Target="http://example.invalid/" TargetMode="External"/>
</Relationships>'''

THEME = HEAD + '''<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="T"><a:themeElements>
<a:clrScheme name="S">
<a:dk1><a:sysClr val="windowText" lastClr="000000"/></a:dk1><a:lt1><a:sysClr val="window" lastClr="FFFFFF"/></a:lt1>
<a:dk2><a:srgbClr val="44546A"/></a:dk2><a:lt2><a:srgbClr val="E7E6E6"/></a:lt2>
<a:accent1><a:srgbClr val="4472C4"/></a:accent1><a:accent2><a:srgbClr val="ED7D31"/></a:accent2>
<a:accent3><a:srgbClr val="A5A5A5"/></a:accent3><a:accent4><a:srgbClr val="FFC000"/></a:accent4>
<a:accent5><a:srgbClr val="5B9BD5"/></a:accent5><a:accent6><a:srgbClr val="70AD47"/></a:accent6>
<a:hlink><a:srgbClr val="0563C1"/></a:hlink><a:folHlink><a:srgbClr val="954F72"/></a:folHlink>
</a:clrScheme></a:themeElements></a:theme>'''

STYLES = HEAD + f'''<styleSheet xmlns="{MAIN}">
<numFmts count="1"><numFmt numFmtId="176" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>
<fonts count="3">
<font><sz val="11"/><color theme="1"/><name val="游ゴシック"/><family val="2"/><charset val="128"/><scheme val="minor"/></font>
<font><b/><sz val="12"/><color rgb="FFFF0000"/><name val="游ゴシック"/></font>
<font><sz val="11"/><color theme="4" tint="0.39997558519241921"/><name val="Meiryo UI"/></font>
</fonts>
<fills count="4">
<fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill>
<fill><patternFill patternType="solid"><fgColor theme="5"/><bgColor indexed="64"/></patternFill></fill>
<fill><patternFill patternType="solid"><fgColor indexed="13"/><bgColor indexed="64"/></patternFill></fill>
</fills>
<borders count="2">
<border><left/><right/><top/><bottom/><diagonal/></border>
<border><left style="thin"><color auto="1"/></left><right style="medium"><color indexed="10"/></right><top style="dashed"/><bottom style="double"><color rgb="FF0000FF"/></bottom><diagonal/></border>
</borders>
<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
<cellXfs count="6">
<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>
<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="0" fontId="1" fillId="2" borderId="0" xfId="0" applyFont="1" applyFill="1"/>
<xf numFmtId="0" fontId="0" fillId="3" borderId="1" xfId="0" applyFill="1" applyBorder="1" applyAlignment="1" applyProtection="1"><alignment horizontal="center" vertical="center" wrapText="1"/><protection locked="0"/></xf>
<xf numFmtId="176" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1"/>
</cellXfs>
<cellStyles count="1"><cellStyle name="標準" xfId="0" builtinId="0"/></cellStyles>
</styleSheet>'''

SHARED = HEAD + f'''<sst xmlns="{MAIN}" count="3" uniqueCount="3">
<si><t>plain</t></si>
<si><r><t>山田</t></r><r><rPr><b/></rPr><t xml:space="preserve"> 花子</t></r><rPh sb="0" eb="2"><t>ヤマダ</t></rPh><phoneticPr fontId="1"/></si>
<si><t>a_x000D_b</t></si>
</sst>'''

SHEET1 = HEAD + f'''<worksheet xmlns="{MAIN}" xmlns:r="{REL}">
<dimension ref="A1:F6"/>
<sheetViews><sheetView zoomScale="75" workbookViewId="0"><pane xSplit="1" ySplit="2" topLeftCell="B3" activePane="bottomRight" state="frozen"/></sheetView></sheetViews>
<sheetFormatPr baseColWidth="10" defaultRowHeight="18.75"/>
<cols><col min="1" max="2" width="20.7109375" customWidth="1"/><col min="5" max="5" width="11.42578125" hidden="1"/></cols>
<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>45292</v></c><c r="C1" t="inlineStr"><is><t>inline</t></is></c><c r="D1" t="b"><v>1</v></c><c r="E1" t="e"><v>#N/A</v></c><c r="F1" t="str"><f>A1&amp;"x"</f><v>plainx</v></c></row>
<row r="2"><c><v>1</v></c><c><v>2</v></c></row>
<row r="3"><c r="A3"><v>3</v></c><c r="C3"><f t="shared" ref="C3:C5" si="0">A3+$B$1*B3+SUM('Sheet A'!A3)</f><v>5</v></c></row>
<row r="4"><c r="C4"><f t="shared" si="0"/><v>6</v></c></row>
<row r="5"><c r="C5"><f t="shared" si="0"/><v>7</v></c></row>
<row r="6" ht="30" customHeight="1" hidden="1"><c r="A6" t="s"><v>1</v></c><c r="B6" s="2" t="s"><v>2</v></c><c r="C6" s="4"><v>45000.5</v></c><c r="D6" s="5"><v>-1</v></c><c r="E6" s="3" t="d"><v>2024-05-06T00:00:00</v></c></row>
</sheetData>
<sheetProtection sheet="1" objects="1" scenarios="1" formatRows="0" selectLockedCells="1"/>
</worksheet>'''

SHEET2 = HEAD + f'''<x:worksheet xmlns:x="{MAIN}"><x:sheetData><x:row r="1"><x:c r="A1" t="s"><x:v>0</x:v></x:c></x:row></x:sheetData></x:worksheet>'''


def write(name, parts):
    with zipfile.ZipFile(name, 'w', zipfile.ZIP_DEFLATED) as z:
        for part, text in parts.items():
            # a fixed time, so that writing the fixtures again gives the same bytes
            z.writestr(zipfile.ZipInfo(part, (2024, 1, 1, 0, 0, 0)), text, zipfile.ZIP_DEFLATED)


GOOD = {
    '[Content_Types].xml': CONTENT_TYPES, '_rels/.rels': ROOT_RELS, 'xl/workbook.xml': WORKBOOK,
    'xl/_rels/workbook.xml.rels': WORKBOOK_RELS, 'xl/theme/theme1.xml': THEME, 'xl/styles.xml': STYLES,
    'xl/sharedStrings.xml': SHARED, 'xl/worksheets/sheet1.xml': SHEET1, 'xl/worksheets/sheet2.xml': SHEET2,
}
write('foreign.xlsx', GOOD)

write('no_workbook.xlsx', {k: v for k, v in GOOD.items() if k != 'xl/workbook.xml'})
write('missing_sheet.xlsx', {k: v for k, v in GOOD.items() if k != 'xl/worksheets/sheet2.xml'})
bad = dict(GOOD)
bad['xl/worksheets/sheet1.xml'] = SHEET1.replace('</sheetData>', '')
write('bad_sheet_xml.xlsx', bad)
# A number cell beyond what a double holds.
write('number_out_of_range.xlsx', dict(GOOD, **{'xl/worksheets/sheet1.xml': SHEET1.replace(
    '<c r="A3"><v>3</v></c>', '<c r="A3"><v>-1e999</v></c>')}))
write('not_a_workbook.xlsx', {
    '[Content_Types].xml': CONTENT_TYPES,
    '_rels/.rels': ROOT_RELS.replace('/xl/workbook.xml', 'word/document.xml'),
    'word/document.xml': HEAD + '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>',
})

# Sheet names the format refuses (too long, a bracket, the same as another but for case).
for name, sheet in [('long_sheet_name.xlsx', 'あ' * 32), ('bracket_sheet_name.xlsx', '[勤務]'),
                    ('case_twin_sheets.xlsx', 'sheet a')]:
    write(name, dict(GOOD, **{'xl/workbook.xml': WORKBOOK.replace('name="シートB"', f'name="{sheet}"')}))

data = open('foreign.xlsx', 'rb').read()
open('truncated.xlsx', 'wb').write(data[: len(data) // 2])

# A sound zip directory over a damaged compressed sheet: the damage shows only when it is read.
with zipfile.ZipFile('foreign.xlsx') as z:
    info = z.getinfo('xl/worksheets/sheet1.xml')
    start = info.header_offset + 30 + len(info.filename.encode()) + len(info.extra)
corrupt = bytearray(data)
for i in range(start + 10, start + 40):
    corrupt[i] ^= 0x5A
open('corrupt_entry.xlsx', 'wb').write(bytes(corrupt))
