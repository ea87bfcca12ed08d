// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/AreaTable.h"

#include <string_view>

#include "base/NumberText.h"

// code | range | English name | Chinese name. A province's range is the
// first and the last row of its cities; a city's range is the row of its
// province and its position in it.
// clang-format off
const std::array<const char*, kAreaRows> kAreaTable = {
    "X036|000-000|Unknown Area|未知区域", // 0
    "0100|000-000|Beijing|北京市", // 1
    "0220|000-000|Tianjin|天津市", // 2
    "A310|037-047|Hebei|河北省", // 3
    "A350|048-058|Shanxi|山西省", // 4
    "A470|059-070|Inner Mongolia|内蒙古自治区", // 5
    "A240|071-084|Liaoning|辽宁省", // 6
    "A430|085-094|Jilin|吉林省", // 7
    "A450|095-106|Helongjiang|黑龙江省", // 8
    "0210|000-000|Shanghai|上海市", // 9
    "A250|107-120|Jiangsu|江苏省", // 10
    "A570|121-129|Zhejiang|浙江省", // 11
    "A550|130-142|Anhui|安徽省", // 12
    "A590|143-151|Fujian|福建省", // 13
    "A790|152-162|Jiangxi|江西省", // 14
    "A530|163-178|Shandong|山东省", // 15
    "A370|179-195|Henan|河南省", // 16
    "A270|196-209|Hubei|湖北省", // 17
    "A730|210-223|Hunan|湖南省", // 18
    "A200|224-245|Guangdong|广东省", // 19
    "A770|246-255|Guangxi|广西壮族自治区", // 20
    "A898|256-256|Hainan|海南省", // 21
    "0230|000-000|Chongqing|重庆市", // 22
    "A280|257-274|Sichuan|四川省", // 23
    "A850|275-279|Guizhou|贵州省", // 24
    "A870|280-288|Yunnan|云南省", // 25
    "A890|289-289|Tibet|西藏自治区", // 26
    "A290|290-299|Shanxi|陕西省", // 27
    "A930|300-304|Gansu|甘肃省", // 28
    "A970|305-306|Qinghai|青海省", // 29
    "A950|307-310|Ningxia|宁夏回族自治区", // 30
    "A990|311-315|Xinjiang|新疆维吾尔自治区", // 31
    "0222|000-000|Taiwan|台湾省", // 32
    "A852|000-000|HongKong|香港特别行政区", // 33
    "A853|000-000|AoMen|澳门特别行政区", // 34
    "0111|000-000|Overseas|国外区域", // 35
    "0000|000-000|User-Defined|自定义", // 36
    "0310|003-001|HAN DAN|邯郸市", // 37
    "0311|003-002|SHI JIA ZHUANG|石家庄市", // 38
    "0312|003-003|BAO DING|保定市", // 39
    "0313|003-004|ZHANG JIA KOU|张家口市", // 40
    "0314|003-005|CHENG DE|承德市", // 41
    "0315|003-006|TANG SHAN|唐山市", // 42
    "0316|003-007|LANG FANG|廊坊市", // 43
    "0317|003-008|CANG ZHOU|沧州市", // 44
    "0318|003-009|HENG SHUI|衡水市", // 45
    "0319|003-010|XING TAI|邢台市", // 46
    "0335|003-011|QIN HUANG DAO|秦皇岛市", // 47
    "0349|004-001|SHUO ZHOU|朔州市", // 48
    "0350|004-002|XIN ZHOU|忻州市", // 49
    "0351|004-003|TAI YUAN|太原市", // 50
    "0352|004-004|DA TONG|大同市", // 51
    "0353|004-005|YANG QUAN|阳泉市", // 52
    "0354|004-006|JIN ZHONG|晋中市", // 53
    "0355|004-007|CHANG ZHI|长治市", // 54
    "0356|004-008|JIN CHENG|晋城市", // 55
    "0357|004-009|LIN FEN|临汾市", // 56
    "0358|004-010|LV LIANG|吕梁市", // 57
    "0359|004-011|YUN CHENG|运城市", // 58
    "0470|005-001|HU LUN BEI ER|呼伦贝尔市", // 59
    "0471|005-002|HU HE HAO TE|呼和浩特市", // 60
    "0472|005-003|BAO TOU|包头市", // 61
    "0473|005-004|WU HAI|乌海市", // 62
    "0474|005-005|WU LAN CHA BU|乌兰察布市", // 63
    "0475|005-006|TONG LIAO|通辽市", // 64
    "0476|005-007|CHI FENG|赤峰市", // 65
    "0477|005-008|E ER DUO SI|鄂尔多斯市", // 66
    "0478|005-009|BA YAN NAO ER|巴彦淖尔市", // 67
    "0479|005-010|XI LIN GUO LE MENG|锡林郭勒盟", // 68
    "0482|005-011|XIN AN MENG|兴安盟", // 69
    "0483|005-012|A LA SHAN MENG|阿拉善盟", // 70
    "0024|006-001|SHEN YANG|沈阳市", // 71
    "0410|006-002|TIE LING|铁岭市", // 72
    "0411|006-003|DA LIAN|大连市", // 73
    "0412|006-004|AN SHAN|鞍山市", // 74
    "0413|006-005|FU SHUN|抚顺市", // 75
    "0414|006-006|BEN XI|本溪市", // 76
    "0415|006-007|DAN DONG|丹东市", // 77
    "0416|006-008|JI ZHOU|锦州市", // 78
    "0417|006-009|YING KOU|营口市", // 79
    "0418|006-010|FU XIN|阜新市", // 80
    "0419|006-011|LIAO YANG|辽阳市", // 81
    "0421|006-012|CHAO YANG|朝阳市", // 82
    "0427|006-013|PAN JIN|盘锦市", // 83
    "0429|006-014|HU LU DAO|葫芦岛市", // 84
    "0431|007-001|CHANG CHUN|长春市", // 85
    "0432|007-002|JI LIN|吉林市", // 86
    "0433|007-003|YAN JI|延吉市", // 87
    "0434|007-004|SI PING|四平市", // 88
    "0435|007-005|TONG HUA|通化市", // 89
    "0436|007-006|BAI CHENG|白城市", // 90
    "0437|007-007|LIAO YUAN|辽源市", // 91
    "0438|007-008|SONG YUAN|松原市", // 92
    "0439|007-009|BAI SHAN|白山市", // 93
    "0448|007-010|MEI HE KOU|梅河口", // 94
    "0451|008-001|HA ER BIN|哈尔滨市", // 95
    "0452|008-002|QI QI HA ER|齐齐哈尔市", // 96
    "0453|008-003|MU DAN JIANG|牡丹江市", // 97
    "0454|008-004|JIA MU SI|佳木斯市", // 98
    "0455|008-005|SUI HUA|绥化市", // 99
    "0456|008-006|HEI HE|黑河市", // 100
    "0457|008-007|JIA GE DA QI|加格达奇市", // 101
    "0458|008-008|YI CHUN|伊春市", // 102
    "0459|008-009|DA QING|大庆市", // 103
    "0464|008-010|QI TAI HE|七台河市", // 104
    "0468|008-011|HE GANG|鹤岗市", // 105
    "0469|008-012|SHUANG YA SHAN|双鸭山市", // 106
    "0025|010-001|NAN JING|南京市", // 107
    "0510|010-002|WU XI|无锡市", // 108
    "0511|010-003|ZHEN JIANG|镇江市", // 109
    "0512|010-004|SU ZHOU|苏州市", // 110
    "0513|010-005|NAN TONG|南通市", // 111
    "0514|010-006|YANG ZHOU|扬州市", // 112
    "0515|010-007|YAN CHENG|盐城市", // 113
    "0516|010-008|XU ZHOU|徐州市", // 114
    "0517|010-009|HUAI YIN|淮阴市", // 115
    "0518|010-010|LIAN YUN GANG|连云港市", // 116
    "0519|010-011|CHANG ZHOU|常州市", // 117
    "0520|010-012|CHANG SHU|常熟市", // 118
    "0523|010-013|TAI ZHOU|泰州市", // 119
    "0527|010-014|SU QIAN|宿迁市", // 120
    "0570|011-001|QU ZHOU|衢州市", // 121
    "0571|011-002|HANG ZHOU|杭州市", // 122
    "0572|011-003|HU ZHOU|湖州市", // 123
    "0573|011-004|JIA XING|嘉兴市", // 124
    "0574|011-005|NING BO|宁波市", // 125
    "0575|011-006|SHAO XING|绍兴市", // 126
    "0577|011-007|WEN ZHOU|温州市", // 127
    "0578|011-008|LI SHUI|丽水市", // 128
    "0579|011-009|JIN HUA|金华市", // 129
    "0550|012-001|CHU ZHOU|滁州市", // 130
    "0551|012-002|HE FEI|合肥市", // 131
    "0552|012-003|BENG BU|蚌埠市", // 132
    "0553|012-004|WU HU|芜湖市", // 133
    "0554|012-005|HUAI NAN|淮南市", // 134
    "0555|012-006|MA AN SHAN|马鞍山市", // 135
    "0556|012-007|AN QING|安庆市", // 136
    "0557|012-008|SU ZHOU|宿州市", // 137
    "0558|012-009|FU YANG|阜阳市", // 138
    "0559|012-010|HUANG SHAN|黄山市", // 139
    "0561|012-011|HUAI BEI|淮北市", // 140
    "0562|012-012|TONG LING|铜陵市", // 141
    "0564|012-013|LIU AN|六安市", // 142
    "0591|013-001|FU ZHOU|福州市", // 143
    "0592|013-002|XIA MEN|厦门市", // 144
    "0593|013-003|NING DE|宁德市", // 145
    "0594|013-004|PU TIAN|莆田市", // 146
    "0595|013-005|QUAN ZHOU|泉州市", // 147
    "0596|013-006|ZHANG ZHOU|漳州市", // 148
    "0597|013-007|LONG YAN|龙岩市", // 149
    "0598|013-008|SAN MING|三明市", // 150
    "0599|013-009|JIAN YANG|建阳市", // 151
    "0701|014-001|YING TAN|鹰潭市", // 152
    "0790|014-002|XIN YU|新余市", // 153
    "0791|014-003|NAN CHANG|南昌市", // 154
    "0792|014-004|JIU JIANG|九江市", // 155
    "0793|014-005|SHANG RAO|上饶市", // 156
    "0794|014-006|FU ZHOU|抚州市", // 157
    "0795|014-007|YI CHUN|宜春市", // 158
    "0796|014-008|JI AN|吉安市", // 159
    "0797|014-009|GAN ZHOU|赣州市", // 160
    "0798|014-010|JING DE ZHEN|景德镇市", // 161
    "0799|014-011|PING XIANG|萍乡市", // 162
    "0530|015-001|HE ZE|菏泽市", // 163
    "0531|015-002|JI NAN|济南市", // 164
    "0532|015-003|QING DAO|青岛市", // 165
    "0533|015-004|ZI BO|淄博市", // 166
    "0534|015-005|DE ZHOU|德州市", // 167
    "0535|015-006|YAN TAI|烟台市", // 168
    "0536|015-007|WEI FANG|潍坊市", // 169
    "0537|015-008|JI NING|济宁市", // 170
    "0538|015-009|TAI AN|泰安市", // 171
    "0539|015-010|LIN YI|临沂市", // 172
    "0543|015-011|BIN ZHOU|滨州市", // 173
    "0631|015-012|WEI HAI|威海市", // 174
    "0632|015-013|ZAO ZHUANG|枣庄市", // 175
    "0633|015-014|RI ZHAO|日照市", // 176
    "0634|015-015|LAI WU|莱芜市", // 177
    "0635|015-016|LIAO CHENG|聊城市", // 178
    "0370|016-001|SHANG QIU|商丘市", // 179
    "0371|016-002|ZHENG ZHOU|郑州市", // 180
    "0372|016-003|AN YANG|安阳市", // 181
    "0373|016-004|XIN XIANG|新乡市", // 182
    "0374|016-005|XU CHANG|许昌市", // 183
    "0375|016-006|PING DING SHAN|平顶山市", // 184
    "0376|016-007|XIN YANG|信阳市", // 185
    "0377|016-008|NAN YANG|南阳市", // 186
    "0378|016-009|KAI FENG|开封市", // 187
    "0379|016-010|LUO YANG|洛阳市", // 188
    "0391|016-011|JIAO ZUO|焦作市", // 189
    "0392|016-012|HE BI|鹤壁市", // 190
    "0393|016-013|PU YANG|濮阳市", // 191
    "0394|016-014|ZHOU KOU|周口市", // 192
    "0395|016-015|LUO HE|漯河市", // 193
    "0396|016-016|ZHU MA DIAN|驻马店市", // 194
    "0398|016-017|SAN MEN XIA|三门峡市", // 195
    "0027|017-001|WU HAN|武汉市", // 196
    "0710|017-002|XIANG FAN|襄樊市", // 197
    "0711|017-003|E ZHOU|鄂州市", // 198
    "0712|017-004|XIAO GAN|孝感市", // 199
    "0713|017-005|HUANG GANG|黄冈市", // 200
    "0714|017-006|HUANG SHI|黄石市", // 201
    "0715|017-007|XIAN NING|咸宁市", // 202
    "0716|017-008|JING ZHOU|荆州市", // 203
    "0717|017-009|YI CHANG|宜昌市", // 204
    "0718|017-010|EN SHI|恩施土家族苗族自治州", // 205
    "0719|017-011|SHIYAN|十堰市", // 206
    "0722|017-012|SUI ZHOU|随州市", // 207
    "0724|017-013|JING MEN|荆门市", // 208
    "0728|017-014|TIAN MEN|天门市", // 209
    "0731|018-001|CHANG SHA|长沙市", // 210
    "0730|018-002|YUE YANG|岳阳市", // 211
    "0732|018-003|XIANG TAN|湘潭市", // 212
    "0733|018-004|ZHU ZHOU|株洲市", // 213
    "0734|018-005|HENG YANG|衡阳市", // 214
    "0735|018-006|CHEN ZHOU|郴州市", // 215
    "0736|018-007|CHANG DE|常德市", // 216
    "0737|018-008|YI YANG|益阳市", // 217
    "0738|018-009|LOU DI|娄底市", // 218
    "0739|018-010|SHAO YANG|邵阳市", // 219
    "0743|018-011|JI SHOU|吉首市", // 220
    "0744|018-012|ZHANG JIA JIE|张家界市", // 221
    "0745|018-013|HUAI HUA|怀化市", // 222
    "0746|018-014|YONG ZHOU|永州市", // 223
    "0020|019-001|GUANG ZHOU|广州市", // 224
    "0660|019-002|SHAN WEI|汕尾市", // 225
    "0662|019-003|YANG JIANG|阳江市", // 226
    "0663|019-004|JIE YANG|揭阳市", // 227
    "0668|019-005|MAO MIN|茂名市", // 228
    "0750|019-006|JIANG MEN|江门市", // 229
    "0751|019-007|SHAO GUAN|韶关市", // 230
    "0752|019-008|HUI ZHOU|惠州市", // 231
    "0753|019-009|MEI ZHOU|梅州市", // 232
    "0754|019-010|SHAN TOU|汕头市", // 233
    "0755|019-011|SHEN ZHEN|深圳市", // 234
    "0756|019-012|ZHU HAI|珠海市", // 235
    "0757|019-013|FO SHAN|佛山市", // 236
    "0758|019-014|ZHAO QING|肇庆市", // 237
    "0759|019-015|ZHAN JIANG|湛江市", // 238
    "0760|019-016|ZHONG SHAN|中山市", // 239
    "0762|019-017|HE YUAN|河源市", // 240
    "0763|019-018|QING YUAN|清远市", // 241
    "0765|019-019|SHUN DE|顺德市", // 242
    "0766|019-020|YUN FU|云浮市", // 243
    "0768|019-021|CHAO ZHOU|潮州市", // 244
    "0769|019-022|DONG GUAN|东莞市", // 245
    "0770|020-001|FANG CHENG GANG|防城港市", // 246
    "0771|020-002|NAN NING|南宁市", // 247
    "0772|020-003|LIU ZHOU|柳州市", // 248
    "0773|020-004|GUI LIN|桂林市", // 249
    "0774|020-005|WU ZHOU|梧州市", // 250
    "0775|020-006|YU LIN|玉林市", // 251
    "0776|020-007|BAI SE|百色市", // 252
    "0777|020-008|QIN ZHOU|钦州市", // 253
    "0778|020-009|HE CHI|河池市", // 254
    "0779|020-010|BEI HAI|北海市", // 255
    "0898|021-001|HAI KOU|海口市", // 256
    "0028|023-001|CHENG DU|成都市", // 257
    "0812|023-002|PAN ZHI HUA|攀枝花市", // 258
    "0813|023-003|ZI GONG|自贡市", // 259
    "0816|023-004|MIAN YANG|绵阳市", // 260
    "0817|023-005|NAN CHONG|南充市", // 261
    "0818|023-006|DA ZHOU|达州市", // 262
    "0819|023-007|WAN XIAN|万县市", // 263
    "0825|023-008|SUI NING|遂宁市", // 264
    "0826|023-009|GUANG AN|广安市", // 265
    "0827|023-010|BA ZHONG|巴中市", // 266
    "0830|023-011|LU ZHOU|泸州市", // 267
    "0831|023-012|YI BIN|宜宾市", // 268
    "0832|023-013|NEI JIANG|内江市", // 269
    "0833|023-014|LE SHAN|乐山市", // 270
    "0834|023-015|XI CHANG|西昌市", // 271
    "0835|023-016|YA AN|雅安市", // 272
    "0838|023-017|DE YANG|德阳市", // 273
    "0839|023-018|GUANG YUAN|广元市", // 274
    "0851|024-001|GUI YANG|贵阳市", // 275
    "0852|024-002|ZUN YI|遵义市", // 276
    "0853|024-003|AN SHUN|安顺市", // 277
    "0854|024-004|DU YUN|都匀市", // 278
    "0858|024-005|LIU PAN SHUI|六盘水市", // 279
    "0870|025-001|ZHAO TONG|昭通市", // 280
    "0871|025-002|KUN MING|昆明市", // 281
    "0874|025-003|QU JING|曲靖市", // 282
    "0875|025-004|BAO SHAN|保山市", // 283
    "0877|025-005|YU XI|玉溪市", // 284
    "0878|025-006|CHU XIONG|楚雄", // 285
    "0879|025-007|SI MAO|思茅市", // 286
    "0883|025-008|LIN CANG|临沧市", // 287
    "0888|025-009|LI JIANG|丽江市", // 288
    "0891|026-001|LA SA|拉萨市", // 289
    "0029|027-001|XI AN|西安市", // 290
    "0910|027-002|XIAN YANG|咸阳市", // 291
    "0911|027-003|YAN AN|延安市", // 292
    "0912|027-004|YU LIN|榆林市", // 293
    "0913|027-005|WEI NAN|渭南市", // 294
    "0914|027-006|SHANG LUO|商洛市", // 295
    "0915|027-007|AN KANG|安康市", // 296
    "0916|027-008|HAN ZHONG|汉中市", // 297
    "0917|027-009|BAO JI|宝鸡市", // 298
    "0919|027-010|TONG CHUAN|铜川市", // 299
    "0931|028-001|LAN ZHOU|兰州市", // 300
    "0935|028-002|WU WEI|武威市", // 301
    "0936|028-003|ZHANG YE|张掖市", // 302
    "0937|028-004|JIA YU GUAN|嘉峪关市", // 303
    "0938|028-005|TIAN SHUI|天水市", // 304
    "0971|029-001|XI NING|西宁市", // 305
    "0979|029-002|GE ER MU|格尔木市", // 306
    "0951|030-001|YIN CHUAN|银川市", // 307
    "0952|030-002|SHI ZUI SHAN|石嘴山市", // 308
    "0953|030-003|WU ZHONG|吴忠市", // 309
    "0954|030-004|GU YUAN|固原市", // 310
    "0990|031-001|KA LA MA YI|克拉玛依市", // 311
    "0991|031-002|WU LU MU QI|乌鲁木齐市", // 312
    "0993|031-003|SHI HE ZI|石河子市", // 313
    "0998|031-004|KA SHEN|喀什市", // 314
    "0999|031-005|YI LI|伊犁市", // 315
    "FFFF|FFFFFFF|FFFF|FFFF", // 316
};
// clang-format on

namespace {
constexpr int kUnknownRow = 0;
constexpr int kUserDefinedRow = 36;
constexpr std::string_view kEndCode = "FFFF";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string NameOf(int row, bool chinese)
{
    AreaRow r = AreaTableRow(row);
    return chinese ? r.Chinese : r.English;
}
}

AreaRow AreaTableRow(int row)
{
    AreaRow out;
    if (row < 0 || row >= kAreaRows)
        return out;
    std::string_view text = kAreaTable[static_cast<size_t>(row)];
    std::string* fields[] = {&out.Code, &out.Range, &out.English, &out.Chinese};
    for (std::string* field : fields) {
        size_t bar = text.find('|');
        *field = TrimBlanks(text.substr(0, bar));
        text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    }
    return out;
}

std::string LookupArea(const std::string& code, bool chinese)
{
    if (code.size() != 4)
        return {};
    if (code[0] >= '1' && code[0] <= '9') {
        if (IsDigit(code[1]) && IsDigit(code[2]) && IsDigit(code[3]))
            return NameOf(kUserDefinedRow, chinese) + " - " + code;
        return NameOf(kUnknownRow, chinese);
    }
    for (int row = 1; row < kAreaRows; ++row) {
        AreaRow r = AreaTableRow(row);
        if (r.Code == kEndCode || r.Code.empty())
            break;
        if (r.Code != code)
            continue;
        // A city names its province row first; a province (codes "A...")
        // names its first city row, so it reads "city - province".
        int parent = ParseInteger(r.Range.substr(0, 3)).value_or(0);
        if (parent == 0)
            return chinese ? r.Chinese : r.English;
        return NameOf(parent, chinese) + " - " + (chinese ? r.Chinese : r.English);
    }
    return NameOf(kUnknownRow, chinese);
}
