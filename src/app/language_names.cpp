#include "app/language_names.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vantorel {
namespace {

constexpr LanguageName kNames[] = {
    {1025, "ar-SA", "Arabic (Saudi Arabia)"},
    {1026, "bg-BG", "Bulgarian"},
    {1027, "ca-ES", "Catalan"},
    {1028, "zh-TW", "Chinese (Traditional, Taiwan)"},
    {1029, "cs-CZ", "Czech"},
    {1030, "da-DK", "Danish"},
    {1031, "de-DE", "German (Germany)"},
    {1032, "el-GR", "Greek"},
    {1033, "en-US", "English (United States)"},
    {1035, "fi-FI", "Finnish"},
    {1036, "fr-FR", "French (France)"},
    {1037, "he-IL", "Hebrew"},
    {1038, "hu-HU", "Hungarian"},
    {1039, "is-IS", "Icelandic"},
    {1040, "it-IT", "Italian (Italy)"},
    {1041, "ja-JP", "Japanese"},
    {1042, "ko-KR", "Korean"},
    {1043, "nl-NL", "Dutch (Netherlands)"},
    {1044, "nb-NO", "Norwegian (Bokmal)"},
    {1045, "pl-PL", "Polish"},
    {1046, "pt-BR", "Portuguese (Brazil)"},
    {1047, "rm-CH", "Romansh"},
    {1048, "ro-RO", "Romanian"},
    {1049, "ru-RU", "Russian"},
    {1050, "hr-HR", "Croatian"},
    {1051, "sk-SK", "Slovak"},
    {1052, "sq-AL", "Albanian"},
    {1053, "sv-SE", "Swedish (Sweden)"},
    {1054, "th-TH", "Thai"},
    {1055, "tr-TR", "Turkish"},
    {1056, "ur-PK", "Urdu"},
    {1057, "id-ID", "Indonesian"},
    {1058, "uk-UA", "Ukrainian"},
    {1059, "be-BY", "Belarusian"},
    {1060, "sl-SI", "Slovenian"},
    {1061, "et-EE", "Estonian"},
    {1062, "lv-LV", "Latvian"},
    {1063, "lt-LT", "Lithuanian"},
    {1064, "tg-TJ", "Tajik"},
    {1065, "fa-IR", "Persian"},
    {1066, "vi-VN", "Vietnamese"},
    {1067, "hy-AM", "Armenian"},
    {1068, "az-AZ", "Azeri (Latin)"},
    {1069, "eu-ES", "Basque"},
    {1070, "hsb-DE", "Upper Sorbian"},
    {1071, "mk-MK", "Macedonian"},
    {1074, "tn-ZA", "Setswana"},
    {1076, "xh-ZA", "isiXhosa"},
    {1077, "zu-ZA", "isiZulu"},
    {1078, "af-ZA", "Afrikaans"},
    {1079, "ka-GE", "Georgian"},
    {1080, "fo-FO", "Faroese"},
    {1081, "hi-IN", "Hindi"},
    {1082, "mt-MT", "Maltese"},
    {1083, "se-NO", "Sami (Northern, Norway)"},
    {1086, "ms-MY", "Malay (Malaysia)"},
    {1087, "kk-KZ", "Kazakh"},
    {1088, "ky-KG", "Kyrgyz"},
    {1089, "sw-KE", "Kiswahili"},
    {1090, "tk-TM", "Turkmen"},
    {1091, "uz-UZ", "Uzbek (Latin)"},
    {1092, "tt-RU", "Tatar"},
    {1093, "bn-IN", "Bengali (India)"},
    {1094, "pa-IN", "Punjabi"},
    {1095, "gu-IN", "Gujarati"},
    {1096, "or-IN", "Odia"},
    {1097, "ta-IN", "Tamil"},
    {1098, "te-IN", "Telugu"},
    {1099, "kn-IN", "Kannada"},
    {1100, "ml-IN", "Malayalam"},
    {1101, "as-IN", "Assamese"},
    {1102, "mr-IN", "Marathi"},
    {1103, "sa-IN", "Sanskrit"},
    {1104, "mn-MN", "Mongolian (Cyrillic)"},
    {1105, "bo-CN", "Tibetan"},
    {1106, "cy-GB", "Welsh"},
    {1107, "km-KH", "Khmer"},
    {1108, "lo-LA", "Lao"},
    {1110, "gl-ES", "Galician"},
    {1111, "kok-IN", "Konkani"},
    {1114, "syr-SY", "Syriac"},
    {1115, "si-LK", "Sinhala"},
    {1117, "iu-CA", "Inuktitut (Syllabics)"},
    {1118, "am-ET", "Amharic"},
    {1121, "ne-NP", "Nepali"},
    {1122, "fy-NL", "Frisian"},
    {1123, "ps-AF", "Pashto"},
    {1124, "fil-PH", "Filipino"},
    {1125, "dv-MV", "Divehi"},
    {1128, "ha-NG", "Hausa (Latin)"},
    {1130, "yo-NG", "Yoruba"},
    {1131, "quz-BO", "Quechua (Bolivia)"},
    {1132, "nso-ZA", "Sesotho sa Leboa"},
    {1133, "ba-RU", "Bashkir"},
    {1134, "lb-LU", "Luxembourgish"},
    {1135, "kl-GL", "Greenlandic"},
    {1136, "ig-NG", "Igbo"},
    {1144, "ii-CN", "Yi"},
    {1146, "arn-CL", "Mapudungun"},
    {1148, "moh-CA", "Mohawk"},
    {1150, "br-FR", "Breton"},
    {1152, "ug-CN", "Uyghur"},
    {1153, "mi-NZ", "Maori"},
    {1154, "oc-FR", "Occitan"},
    {1155, "co-FR", "Corsican"},
    {1156, "gsw-FR", "Alsatian"},
    {1157, "sah-RU", "Yakut"},
    {1158, "qut-GT", "K'iche"},
    {1159, "rw-RW", "Kinyarwanda"},
    {1160, "wo-SN", "Wolof"},
    {1164, "prs-AF", "Dari"},
    {2049, "ar-IQ", "Arabic (Iraq)"},
    {2052, "zh-CN", "Chinese (Simplified, PRC)"},
    {2055, "de-CH", "German (Switzerland)"},
    {2057, "en-GB", "English (United Kingdom)"},
    {2058, "es-MX", "Spanish (Mexico)"},
    {2060, "fr-BE", "French (Belgium)"},
    {2064, "it-CH", "Italian (Switzerland)"},
    {2067, "nl-BE", "Dutch (Belgium)"},
    {2068, "nn-NO", "Norwegian (Nynorsk)"},
    {2070, "pt-PT", "Portuguese (Portugal)"},
    {2074, "sr-Latn-CS", "Serbian (Latin)"},
    {2077, "sv-FI", "Swedish (Finland)"},
    {2110, "ms-BN", "Malay (Brunei Darussalam)"},
    {3076, "zh-HK", "Chinese (Traditional, Hong Kong SAR)"},
    {3079, "de-AT", "German (Austria)"},
    {3081, "en-AU", "English (Australia)"},
    {3082, "es-ES", "Spanish (Spain)"},
    {3084, "fr-CA", "French (Canada)"},
    {3098, "sr-Cyrl-CS", "Serbian (Cyrillic)"},
    {4100, "zh-SG", "Chinese (Simplified, Singapore)"},
    {4105, "en-CA", "English (Canada)"},
    {5124, "zh-MO", "Chinese (Traditional, Macao SAR)"},
};

// Lower-case with '-' as the separator, so "de_DE" and "de-de" find "de-DE".
std::string NormalisedTag(std::string_view tag) {
  std::string out(tag);
  for (char& c : out) c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string PrimaryLanguage(std::string_view normalisedTag) {
  return std::string(normalisedTag.substr(0, normalisedTag.find('-')));
}

}  // namespace

std::span<const LanguageName> LanguageNameTable() { return kNames; }

std::string_view LanguageDisplayName(int id) {
  const auto found = std::lower_bound(std::begin(kNames), std::end(kNames), id,
                                      [](const LanguageName& entry, int key) { return entry.id < key; });
  return found != std::end(kNames) && found->id == id ? std::string_view(found->name) : std::string_view();
}

int LanguageIdForLocale(std::string_view tag) {
  const std::string wanted = NormalisedTag(tag);
  if (wanted.empty()) return 0;
  for (const auto& entry : kNames) {
    if (NormalisedTag(entry.tag) == wanted) return entry.id;
  }
  const std::string language = PrimaryLanguage(wanted);
  for (const auto& entry : kNames) {
    if (PrimaryLanguage(NormalisedTag(entry.tag)) == language) return entry.id;
  }
  return 0;
}

}  // namespace vantorel
