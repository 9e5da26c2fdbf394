// Japanese values and administrators' comments for the realistic benchmark files.
#include "SiteText.h"

namespace bench {
namespace {

bool EndsWith(const std::wstring& text, const wchar_t* tail) {
  const std::wstring end(tail);
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const char* const kErrorTexts[] = {
    "相手装置から応答がありません。ネットワークの接続を確認してください。",
    "関連付けが拒否されました（呼出側ＡＥタイトル不一致）",
    "画像の送信に失敗しました。再送信キューに登録します。",
    "ディスク容量が不足しています：作業フォルダを整理してください",
    "患者氏名の文字コード変換に失敗しました（ISO 2022 IR 87）",
};

// Kanji, full-width katakana, half-width katakana: the three person-name forms.
const char* const kGroupNames[] = {"漢字氏名", "全角カナ氏名", "ﾊﾝｶｸｶﾅ ｼﾒｲ"};

const char* const kServiceNames[] = {"放射線科 ＣＴ室", "内視鏡センター", "健診ｾﾝﾀｰ 読影端末"};

}  // namespace

std::string SiteStringValue(const std::wstring& key, int index, size_t serial) {
  // One error in five carries a Japanese text, the others an English one.
  if (EndsWith(key, L"/ErrorInfo")) {
    if (index % 5 != 0)
      return "Association rejected by the called AE (" + std::to_string(index) + ")";
    return std::string(kErrorTexts[serial % 5]) + " (" + std::to_string(index) + ")";
  }
  if (EndsWith(key, L"/GroupName")) return kGroupNames[index % 3];
  if (EndsWith(key, L"/ServiceName") && index % 5 == 0) return kServiceNames[index % 3];
  if (EndsWith(key, L"/DailyFolder")) return "/var/log/dicom/日報/" + std::to_string(serial);
  return std::string();
}

std::string AreaComment(const std::string& area) {
  return " " + area + " の設定。変更したらサービスを再起動すること (edited 2024-04-01) ";
}

std::string EntryComment(const std::string& list, int index) {
  if (index == 0 || index % 10 != 0) return std::string();
  return " " + list + " " + std::to_string(index) + " and on: added for the 2023 upgrade ";
}

}  // namespace bench
