#!/usr/bin/env python3
"""Writes the expected report files of ReportFileBuilderTest from the
document layout, independently of the code under test. The item lists and
amounts here mirror the ones the test builds; the expected amount texts are
whole yen by hand. Run it from this folder; the files are code page 932 with
CR LF line ends."""

DECLARATION = '<?xml version="1.0" encoding="Shift_JIS"?>'

# Main item n -> expected text; every other main item n carries n * 1000 yen.
SPECIAL_MAIN = {
    2: '',                  # exactly 0
    3: '',                  # -0.5 yen
    4: '999999999999',      # the largest amount
    5: '',                  # 10^12 yen
    6: '-99999999999',      # the smallest amount
    7: '',                  # -10^11 yen
    8: '12345',             # 12,345.6789 yen
    9: '-12345',            # -12,345.6789 yen
    10: '',                 # 0.9999 yen
    11: '1',                # one yen
    12: '999999999999',     # 999,999,999,999.9999 yen
    13: '-99999999999',     # -99,999,999,999.9999 yen
}

MONTHLY_TAGS = ['URIAGE_A', 'URIAGE_B', 'URIAGE_C', 'URIAGE_D',
                'URIAGE_E', 'URIAGE_F', 'URIAGE_G', 'URIAGE_H']


def main_tag(n, ug30):
    hyphened = {20} | ({1, 36} if ug30 else set())
    return '-' if n in hyphened else 'SYUYOU%02d' % n


def monthly_tag(j, ug30):
    return '-' if ug30 and j == 5 else MONTHLY_TAGS[j]


def monthly_text(j, k):
    # (j + 1) * 1000 + k yen and 0.5555 yen; item C negative; item H empty in month 6.
    if j == 7 and k == 6:
        return ''
    value = (j + 1) * 1000 + k
    return str(-value if j == 2 else value)


def report(ug30, start_month, function_no, period, program_name, program_version):
    base = 37 if ug30 else 36
    lines = [(0, DECLARATION), (0, '<REPORT>'), (1, '<SYSTEM>'),
             (2, '<GYOUMUPREFIX>UG16</GYOUMUPREFIX>'),
             (2, '<VERSION>1</VERSION>'),
             (2, '<FUNCTIONID>%d</FUNCTIONID>' % function_no),
             (2, '<CONNECTEDPROGRAMVER>20.00.00</CONNECTEDPROGRAMVER>'),
             (2, '<PROGRAMNAME>%s</PROGRAMNAME>' % program_name),
             (2, '<PROGRAMVER>%s</PROGRAMVER>' % program_version),
             (1, '</SYSTEM>'), (1, '<BASIC>'),
             # ｶﾌﾞｼｷｶﾞｲｼｬ ﾐｽﾞﾅﾗ&Co. in full width, cut to 16 characters
             (2, '<KOMONSAKINAME>カブシキガイシャ　ミズナラ＆Ｃｏ</KOMONSAKINAME>'),
             (2, '<JIGYOUNENDOFROM>%d</JIGYOUNENDOFROM>' % period[0]),
             (2, '<JIGYOUNENDOTO>%d</JIGYOUNENDOTO>' % period[1]),
             (1, '</BASIC>'), (1, '<DATA>'), (3, '<SYUYOUKAMOKU>')]
    for n in range(1, base):
        tag = main_tag(n, ug30)
        if '-' not in tag:
            text = SPECIAL_MAIN.get(n, str(n * 1000))
            lines.append((4, '<%s>%s</%s>' % (tag, text, tag)))
    lines += [(3, '</SYUYOUKAMOKU>'), (3, '<TUKIBETUURIAGEDAKA>')]
    for k in range(1, 13):
        month = start_month + k - 1
        if month > 12:
            month -= 12
        lines.append((4, '<TUKIBETU_%02d>%d</TUKIBETU_%02d>' % (k, month, k)))
        for j in range(8):
            tag = monthly_tag(j, ug30)
            if '-' not in tag:
                lines.append((4, '<%s%02d>%s</%s%02d>' % (tag, k, monthly_text(j, k), tag, k)))
    lines += [(3, '</TUKIBETUURIAGEDAKA>'), (1, '</DATA>'), (0, '</REPORT>')]
    return ''.join('\t' * depth + text + '\r\n' for depth, text in lines).encode('cp932')


SUPPORT_NAME = 'ミズナラ２０ R&amp;D版'
SUPPORT_VERSION = '20.00.05'
DEFAULT_NAME = 'ミズナラ２０'
DEFAULT_VERSION = '20.00.0X'

FILES = {
    'ug16_start4_default.xml': report(False, 4, 1, (20170401, 20180331), DEFAULT_NAME, DEFAULT_VERSION),
    'ug16_start1_support.xml': report(False, 1, 2, (20170101, 20171231), SUPPORT_NAME, SUPPORT_VERSION),
    'ug30_start4_support.xml': report(True, 4, 1, (20230401, 20240331), SUPPORT_NAME, SUPPORT_VERSION),
    'ug30_start1_default.xml': report(True, 1, 2, (20240101, 20241231), DEFAULT_NAME, DEFAULT_VERSION),
}

for name, data in FILES.items():
    with open(name, 'wb') as out:
        out.write(data)
