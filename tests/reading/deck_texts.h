#pragma once

#include <array>
#include <string>
#include <vector>

// Deck texts as DJs' collections hold them: remix and edit parentheses,
// accented letters, titles too long for the deck area, featured artists.
// BPM, key and times follow from the position in the list.
namespace kesta::test {

struct DeckText {
  std::string title;
  std::string artist;
  std::string bpm;
  std::string key;
  double duration;
  double elapsed;
};

// BPM, key and times for the texts in order.
inline std::vector<DeckText> withReadouts(const std::vector<std::pair<const char*, const char*>>& tracks);

inline std::vector<DeckText> deckTexts() {
  static const std::array<std::pair<const char*, const char*>, 104> tracks{{
      {"Strobe (Club Edit)", "deadmau5"},
      {"Opus (Four Tet Remix)", "Eric Prydz"},
      {"Café del Mar (Energy 52 Remix)", "Energy 52"},
      {"Niton (The Reason)", "Eric Prydz"},
      {"Sun & Moon (Above & Beyond Club Mix)", "Above & Beyond feat. Richard Bedford"},
      {"Midnight City (Eric Prydz Private Remix)", "M83"},
      {"Música Ligera", "Soda Stereo"},
      {"Déjà Vu (Original Mix)", "Ilario Alicante"},
      {"Blue Monday '88", "New Order"},
      {"Everybody's Free (To Feel Good)", "Rozalla"},
      {"Children (Dream Version)", "Robert Miles"},
      {"Insomnia (Monster Mix)", "Faithless"},
      {"Finally (Choice Mix)", "Kings Of Tomorrow feat. Julie McKnight"},
      {"Groove Is In The Heart", "Deee-Lite"},
      {"Show Me Love (Steve Angello & Laidback Luke Remix)", "Robin S"},
      {"Lola's Theme (Radio Edit)", "The Shapeshifters"},
      {"Sing It Back (Boris Dlugosch Mix)", "Moloko"},
      {"Ride On Time", "Black Box"},
      {"Música Para Volar (Extended Version)", "Javier Álvarez"},
      {"Señorita (Club Mix)", "Ibiza Bros"},
      {"Noche de Verano en la Ciudad (Luna Mix)", "Los Hermanos Ruiz"},
      {"Où Es-Tu (Dub)", "Célia Rousseau"},
      {"Über Alles Hinaus (Kompakt Edit)", "Jürgen Schäfer"},
      {"Ça Plane Pour Moi", "Plastic Bertrand"},
      {"Mañana Será Otro Día (Extended Mix)", "Niño Sánchez feat. Lúcia"},
      {"Ångström (Original Mix)", "Søren Kjærgaard"},
      {"Fête Foraine", "Hélène Dubois"},
      {"Jazz Ó Clock (Rework)", "Zé Pedro"},
      {"Gravity of the Situation Seen From the Top of the Highest Mountain at Dawn (Extended Mix)",
       "Ocean Drive Collective"},
      {"A Very Long Journey Through the Night and Into the Morning Light (Original Mix)",
       "Sunrise Avenue Project"},
      {"Everything You Ever Wanted to Know About the Deep End of the Warehouse (Dub Mix)",
       "Warehouse Theory"},
      {"The Sound of the Underground Coming Up Through the Floor (Late Night Version)", "Basement Jaxx"},
      {"When the Lights Go Down and the Bass Comes In Again (Club Mix)", "Low Frequency Union"},
      {"Tomorrow Never Knows What Tonight Has Already Decided (Reprise)", "The Long Titles"},
      {"Levels (Skrillex Remix)", "Avicii"},
      {"One More Time (Extended)", "Daft Punk"},
      {"Around The World (Radio Edit)", "Daft Punk"},
      {"Music Sounds Better With You", "Stardust"},
      {"Da Funk", "Daft Punk"},
      {"Cola (Extended Mix)", "CamelPhat & Elderbrook"},
      {"Losing It", "Fisher"},
      {"Turn Off The Lights (Club Mix)", "Chris Lake feat. Alexis Roberts"},
      {"Piece Of Your Heart (Original Mix)", "Meduza feat. Goodboys"},
      {"Lose Control (Extended Mix)", "Meduza, Becky Hill & Goodboys"},
      {"Ferrari (Extended Mix)", "James Hype & Miggy Dela Rosa"},
      {"Rumble (Extended Mix)", "Skrillex, Fred again.. & Flowdan"},
      {"Marea (We've Lost Dancing)", "Fred again.. & The Blessed Madonna"},
      {"Delilah (Pull Me Out Of This)", "Fred again.."},
      {"Baby Again..", "Fred again.., Skrillex & Four Tet"},
      {"Innerbloom (What So Not Remix)", "RÜFÜS DU SOL"},
      {"You Were Right", "RÜFÜS DU SOL"},
      {"Breathe (Extended Mix)", "Eric Prydz & Rob Swire"},
      {"Pjanoo (Club Mix)", "Eric Prydz"},
      {"Call On Me (Radio Mix)", "Eric Prydz"},
      {"Ghosts 'n' Stuff (Original Mix)", "deadmau5 feat. Rob Swire"},
      {"I Remember (Original Mix)", "deadmau5 & Kaskade"},
      {"Sandstorm (Original Mix)", "Darude"},
      {"Adagio For Strings (Tiësto Remix)", "William Orbit"},
      {"Silence (Delerium Remix)", "Delerium feat. Sarah McLachlan"},
      {"Kernkraft 400 (Original Mix)", "Zombie Nation"},
      {"Born Slippy .NUXX", "Underworld"},
      {"Windowlicker", "Aphex Twin"},
      {"Xtal", "Aphex Twin"},
      {"Halcyon And On And On", "Orbital"},
      {"Chime (Edit)", "Orbital"},
      {"Energy Flash (Original Mix)", "Joey Beltram"},
      {"Strings Of Life (Derrick May Remix)", "Rhythim Is Rhythim"},
      {"Good Life (Inner City Remix)", "Inner City"},
      {"Can You Feel It (Instrumental)", "Mr. Fingers"},
      {"Your Love (Original Mix)", "Frankie Knuckles feat. Jamie Principle"},
      {"Pacific State (808 State Mix)", "808 State"},
      {"Papua New Guinea (Hybrid Mix)", "The Future Sound Of London"},
      {"Sweet Harmony", "The Beloved"},
      {"Rez / Cowgirl", "Underworld"},
      {"Café de Flore (Doctor Rockit Mix)", "Charles Webster"},
      {"At Night (Shiny Disco Club Mix)", "Shakedown"},
      {"Lady (Hear Me Tonight)", "Modjo"},
      {"Hey Boy Hey Girl", "The Chemical Brothers"},
      {"Galvanize (feat. Q-Tip)", "The Chemical Brothers"},
      {"Teardrop (Mad Professor Mazaruni Vocal Mix)", "Massive Attack"},
      {"Porcelain (Futureshock Remix)", "Moby"},
      {"Innocence (Nero Remix)", "Nero"},
      {"Greyhound (Extended)", "Swedish House Mafia"},
      {"Don't You Worry Child (Extended Mix)", "Swedish House Mafia feat. John Martin"},
      {"Titanium (Extended Mix)", "David Guetta feat. Sia"},
      {"Animals (Original Mix)", "Martin Garrix"},
      {"Tremor (Sensation 2014 Anthem)", "Dimitri Vegas, Martin Garrix & Like Mike"},
      {"Language (Original Mix)", "Porter Robinson"},
      {"Bangarang (feat. Sirah)", "Skrillex"},
      {"Scary Monsters And Nice Sprites", "Skrillex"},
      {"Latch (feat. Sam Smith)", "Disclosure"},
      {"White Noise (feat. AlunaGeorge)", "Disclosure"},
      {"Rather Be (feat. Jess Glynne)", "Clean Bandit"},
      {"Hold On (Extended Mix)", "Sub Focus & Wilkinson"},
      {"Afterglow (Original Mix)", "Wilkinson"},
      {"Gecko (Overdrive) (Extended Mix)", "Oliver Heldens & Becky Hill"},
      {"Koala (Original Mix)", "Oliver Heldens"},
      {"Tsunami (Jump) (Extended)", "DVBBS & Borgeous"},
      {"Jubel (Extended Mix)", "Klingande"},
      {"Prayer In C (Robin Schulz Remix)", "Lilly Wood & The Prick"},
      {"Sugar (feat. Francesco Yates)", "Robin Schulz"},
      {"Stay The Night (Zedd Remix)", "Zedd feat. Hayley Williams"},
      {"Clarity (Tiësto Remix)", "Zedd feat. Foxes"},
      {"Wake Me Up (Avicii By Avicii)", "Avicii"},
  }};
  return withReadouts({tracks.begin(), tracks.end()});
}

inline std::vector<DeckText> withReadouts(const std::vector<std::pair<const char*, const char*>>& tracks) {
  static const std::array<const char*, 12> keys{"8A",  "F#m", "5A", "Am", "11B", "Ebm",
                                                "12A", "C#m", "2B", "9A", "Gm",  "7B"};
  std::vector<DeckText> out;
  int i = 0;
  for (const auto& [title, artist] : tracks) {
    const int bpmTenths = 1180 + (i * 37) % 220;  // 118.0 … 139.9
    const std::string bpm =
        std::to_string(bpmTenths / 10) + "." + std::to_string(bpmTenths % 10) + std::to_string((i * 3) % 10);
    const double duration = 180 + (i * 53) % 420;
    const double elapsed = double((i * 97) % int(duration)) + 0.1 * (i % 10);
    out.push_back({title, artist, bpm, keys[std::size_t(i) % keys.size()], duration, elapsed});
    ++i;
  }
  return out;
}

// A script beyond Latin and deck texts written in it, some with a version in
// Latin letters as collections write them.
struct ScriptTexts {
  std::string script;
  std::vector<DeckText> texts;
};

inline std::vector<ScriptTexts> scriptDeckTexts() {
  using Tracks = std::vector<std::pair<const char*, const char*>>;
  const std::vector<std::pair<const char*, Tracks>> scripts{
      {"Japanese",
       {{"東京ナイト (Extended Mix)", "坂本 リョウ"},
        {"星空のラブソング", "ミナミ"},
        {"夜明けのダンスフロア", "カズキ"},
        {"さよならメモリーズ (Club Edit)", "ユイ"},
        {"真夜中のドライブ", "ハルカ"},
        {"サクラ・エレクトロ", "DJ タケシ"},
        {"恋のリズム (Original Mix)", "アヤノ"},
        {"青い月の下で", "ソラ"},
        {"ネオン通り", "レン"},
        {"はじまりの音", "ケンジ"},
        {"ひかりの街 (Dub)", "マコト"},
        {"ふたりのステップ", "ナナ"}}},
      {"Korean",
       {{"서울의 밤", "김민준"},
        {"별빛 댄스 (Extended Mix)", "이서연"},
        {"새벽 드라이브", "박지훈"},
        {"사랑의 리듬", "최수아"},
        {"한여름 밤의 꿈 (Club Mix)", "정하늘"},
        {"푸른 바다", "강도윤"},
        {"기억의 조각", "윤서진"},
        {"네온 거리", "장민서"},
        {"마지막 춤 (Radio Edit)", "임지우"},
        {"달빛 아래서", "한예린"},
        {"우리들의 노래", "오태양"},
        {"꿈꾸는 도시", "신유나"}}},
      {"Chinese (simplified)",
       {{"夜上海 (Extended Mix)", "周璇"},
        {"月亮代表我的心", "邓丽君"},
        {"城市之光", "林俊杰"},
        {"星光舞曲", "王菲"},
        {"北京的夜晚 (Club Mix)", "李健"},
        {"红色高跟鞋", "蔡健雅"}}},
      {"Chinese (traditional)",
       {{"海闊天空", "陳奕迅"},
        {"後來的我們", "張惠妹"},
        {"愛的節奏 (Original Mix)", "劉德華"},
        {"夢裡的舞會", "蔡依林"},
        {"臺北霓虹", "張學友"},
        {"飛翔的聲音", "黃立行"}}},
      {"Arabic",
       {{"طريق الحب (Club Edit)", "عمرو دياب"},
        {"ليالي القاهرة", "فيروز الصغيرة"},
        {"نور القمر", "محمد منير"},
        {"رقصة الصحراء (Extended Mix)", "نانسي عجرم"},
        {"حبيبي يا نور العين", "سامي يوسف"},
        {"سهر الليالي", "إليسا"},
        {"قلبي معاك", "راغب علامة"},
        {"شمس بيروت", "وائل كفوري"},
        {"أحلام المدينة", "هيفاء وهبي"},
        {"موج البحر (Dub Mix)", "كاظم الساهر"},
        {"بحر الحنين", "عمر خيرت"},
        {"ليلة العمر", "أنغام"}}},
      {"Hebrew",
       {{"לילה בתל אביב", "עומר אדם"},
        {"שמש של חורף (Club Mix)", "נועה קירל"},
        {"ריקוד אחרון", "עידן רייכל"},
        {"אהבה בחוף", "שרית חדד"},
        {"ירח מעל הים (Extended Mix)", "אייל גולן"},
        {"אור של בוקר", "סטטיק"},
        {"חלום ישן", "עדן בן זקן"},
        {"רחובות העיר", "משה פרץ"},
        {"קצב הלב (Original Mix)", "אושר כהן"},
        {"שיר לשבת", "ישי ריבו"},
        {"גלים של כחול", "רן דנקר"},
        {"עוד פעם אחת", "מירי מסיקה"}}},
      {"Thai",
       {{"ค่ำคืนที่กรุงเทพ", "บอดี้สแลม"},
        {"ทะเลดาว (Extended Mix)", "ปาล์มมี่"},
        {"ความรักสีชมพู", "ลุลา"},
        {"จังหวะหัวใจ", "โต๋ เศกพล"},
        {"ดำน้ำดูดาว (Club Mix)", "ป๊อด ธนชัย"},
        {"เต้นรำกลางสายฝน", "เบิร์ด ธงไชย"},
        {"คำสัญญา", "แสตมป์"},
        {"แสงจันทร์", "ดา เอ็นโดรฟิน"},
        {"น้ำตาแห่งความสุข (Radio Edit)", "ต่าย อรทัย"},
        {"ทำนองรัก", "อะตอม ชนกันต์"},
        {"รำวงย้อนยุค", "พงษ์สิทธิ์"},
        {"ฝันหวาน", "ญารินดา"}}},
  };
  std::vector<ScriptTexts> out;
  for (const auto& [script, tracks] : scripts) out.push_back({script, withReadouts(tracks)});
  return out;
}

// Titles for one library holding every script at once: half of them with a
// version in Latin letters, and in Arabic and Hebrew titles that begin with
// their Latin words (drawn left to right, as rekordbox draws them).
inline std::vector<ScriptTexts> everyScriptDeckTexts() {
  using Tracks = std::vector<std::pair<const char*, const char*>>;
  const std::vector<std::pair<const char*, Tracks>> scripts{
      {"Japanese",
       {{"渋谷の朝焼け (Club Edit)", "ユウキ"},
        {"夏の終わりに", "アオイ"},
        {"ミッドナイト・トレイン (Extended Mix)", "DJ ヒロ"},
        {"雨音のメロディ", "サトミ"},
        {"光と影 (Original Mix)", "タクミ"},
        {"君の声が聞こえる", "ミサキ"},
        {"夜空のカーニバル (Radio Edit)", "リナ"},
        {"港町ブルース", "シンジ"},
        {"ときめきの瞬間 (Dub)", "カナ"},
        {"銀河鉄道の夜", "ハヤト"},
        {"ダンシング・クイーン (Club Mix)", "エミ"},
        {"桜の花びら", "ツバサ"}}},
      {"Korean",
       {{"여름밤의 꿈 (Club Edit)", "김하늘"},
        {"도시의 불빛", "이준호"},
        {"너에게로 가는 길 (Extended Mix)", "박서윤"},
        {"첫눈이 오면", "정우진"},
        {"파도 소리 (Original Mix)", "최지민"},
        {"별이 빛나는 밤", "강소희"},
        {"새벽 여름날 (Dub)", "윤재현"},
        {"그대와 춤을", "한지아"},
        {"바람의 노래 (Radio Edit)", "서민재"},
        {"우주 여행", "조은비"},
        {"사랑의 온도 (Club Mix)", "임태윤"},
        {"봄날의 기억", "배수진"}}},
      {"Chinese",
       {{"霓虹灯下的舞步", "陈小春"},
        {"夏日海风 (Club Edit)", "刘若英"},
        {"星空下的夜晚", "张靓颖"},
        {"城市之夜 (Extended Mix)", "孙燕姿"},
        {"白色月光", "杨坤"},
        {"午夜列车 (Radio Edit)", "王力宏"},
        {"台北霓虹", "周杰倫"},
        {"雨夜的思念 (Original Mix)", "張韶涵"},
        {"舞動青春", "羅志祥"},
        {"愛在黎明 (Dub)", "鄧紫棋"},
        {"風中的約定", "蕭敬騰"},
        {"記憶碎片 (Club Mix)", "楊丞琳"}}},
      {"Arabic",
       {{"Cairo Nights ليالي القاهرة", "عمرو دياب"},
        {"قمر الليل (Club Edit)", "تامر حسني"},
        {"Beirut Sunrise شروق بيروت", "ماجدة الرومي"},
        {"أغنية البحر", "نوال الزغبي"},
        {"نبض القلب (Extended Mix)", "شيرين"},
        {"Desert Wind ريح الصحراء", "حسين الجسمي"},
        {"سحر الشرق (Original Mix)", "أصالة"},
        {"ضوء القمر", "ماجد المهندس"},
        {"طريق النور (Radio Edit)", "لطيفة"},
        {"في الليل", "فضل شاكر"},
        {"رقصة الفجر (Dub)", "محمد عبده"},
        {"حلم الصيف", "ديانا حداد"}}},
      {"Hebrew",
       {{"DJ Tal שמש", "טל כהן"},
        {"גלים על הים (Club Edit)", "עידן רייכל"},
        {"Tel Aviv Nights לילות תל אביב", "עומר אדם"},
        {"ריקוד הירח 2", "שרית חדד"},
        {"אור הכוכבים (Extended Mix)", "אייל גולן"},
        {"Summer Love אהבת קיץ", "נועה קירל"},
        {"רוח מערבית (Original Mix)", "משה פרץ"},
        {"בוקר חדש", "סטטיק"},
        {"לב שבור (Radio Edit)", "ישי ריבו"},
        {"שביל החלב", "אושר כהן"},
        {"שקיעה אדומה (Dub)", "מירי מסיקה"},
        {"חוף הים", "רן דנקר"}}},
      {"Thai",
       {{"ค่ำคืนที่กรุงเทพ", "บอดี้สแลม"},
        {"ถนนยามเช้า (Club Edit)", "ลุลา"},
        {"ดวงดาวแห่งรัก", "ปาล์มมี่"},
        {"ทะเลยามค่ำ (Extended Mix)", "โต๋ เศกพล"},
        {"สายลมแห่งฤดูร้อน", "ป๊อด ธนชัย"},
        {"หัวใจเต้นแรง (Original Mix)", "เบิร์ด ธงไชย"},
        {"เพลงของเรา", "แสตมป์"},
        {"แสงไฟในเมือง (Radio Edit)", "ดา เอ็นโดรฟิน"},
        {"ความฝันสีฟ้า", "ต่าย อรทัย"},
        {"จังหวะชีวิต (Dub)", "อะตอม ชนกันต์"},
        {"รักแรกพบ", "พงษ์สิทธิ์"},
        {"ดอกไม้บาน (Club Mix)", "ญารินดา"}}},
  };
  std::vector<ScriptTexts> out;
  for (const auto& [script, tracks] : scripts) out.push_back({script, withReadouts(tracks)});
  return out;
}

}  // namespace kesta::test
