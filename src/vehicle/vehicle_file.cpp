#include "vehicle/vehicle_file.h"

#include "frame/startup_error.h"
#include "frame/text.h"

namespace velmoria {

namespace {

constexpr std::string_view kVehicleError = "車両ファイルに誤りがあります";
constexpr std::string_view kBasicSettings = "- 列車の基本設定";

// Reads one vehicle file into `v`. The work bitmap is the picture most recently loaded: an
// indicator list takes its picture size from it even on an empty line.
class VehicleReader {
 public:
  VehicleReader(const DataFolder& folder, ImageLoader& images, ImageLists& lists, Vehicle& v)
      : m_folder(folder), m_images(images), m_lists(lists), m_v(v) {}

  SectionTable table();

 private:
  using W = SectionWalker;

  static Section intValue(std::string_view header, int32_t& target) {
    return {header, [&target](W& w) { target = w.readInt(); }};
  }
  static Section fixedValue(std::string_view header, Fixed& target) {
    return {header, [&target](W& w) { target = w.readFixed(); }};
  }
  static Section panelImage(std::string_view header, PanelImageSpec& target) {
    return {header, [&target](W& w) { target = readPanelImage(w, w.readText()); }};
  }
  static Section needle(std::string_view header, NeedleSpec& target) {
    return {header, [&target](W& w) {
              NeedleSpec n;
              n.file = w.readText();
              n.left = w.readInt();
              n.top = w.readInt();
              n.width = w.readInt();
              n.height = w.readInt();
              n.zeroAngle = w.readInt();
              n.anglePerUnit = w.readReal80();
              target = n;
            }};
  }
  // An entry whose first line (the file) is already current.
  static PanelImageSpec readPanelImage(W& w, std::string file) {
    PanelImageSpec p;
    p.file = std::move(file);
    p.left = w.readInt();
    p.top = w.readInt();
    return p;
  }

  ImageInfo load(W& w, const std::string& file) {
    if (file.empty()) w.fail();  // names the data folder itself, never a picture
    auto info = m_images.load(m_folder.resolve(file));
    if (!info) w.fail();
    m_work = *info;
    return *info;
  }

  Section indicatorList(std::string_view header, IndicatorList& list) {
    return {header, [this, &list](W& w) {
              list.left = w.readInt();
              list.top = w.readInt();
              w.readList(kIndicatorCapacity, [&] {
                const std::string file = w.line();
                std::optional<ImageInfo> loaded;
                if (!file.empty()) loaded = load(w, file);
                list.width = m_work.width;
                list.height = m_work.height;
                if (loaded) list.images.push_back(*loaded);
              });
            }};
  }

  void readNotch(W& w) {
    m_v.NotchTable.clear();
    w.readList(kNotchCapacity, [&] {
      NotchEntry e;
      e.a0 = w.toReal64(w.line());
      e.a1 = w.readReal64();
      e.s1 = w.readInt();
      e.s2 = w.readInt();
      e.k = w.readReal64();
      m_v.NotchTable.push_back(e);
    });
    if (m_v.Engine_Type == 0) W::failWith("動力が気動車なのにNotch指定があります");
    if (static_cast<int64_t>(m_v.NotchTable.size()) != m_v.Power)
      W::failWith("Power指定とNotch指定が矛盾しています");
  }

  void readEngine(W& w) {
    // The gear count is not reset: a second [Engine] section adds further gears.
    w.readList(kGearCapacity - m_v.GearTable.size(), [&] {
      GearEntry e;
      e.sa = w.toInt(w.line());
      e.sb = w.readInt();
      e.sc = w.readInt();
      e.aa = w.readReal64();
      e.ab = w.readReal64();
      e.ac = w.readReal64();
      m_v.GearTable.push_back(e);
    });
    if (m_v.Engine_Type == 1) W::failWith("動力が電車なのにEngine指定があります");
  }

  void readMotorSound(W& w) {
    m_v.MotorSoundTable.clear();
    w.readList(kMotorSoundCapacity, [&] {
      MotorSoundEntry e;
      e.file = w.line();
      e.kind = w.readInt();
      e.s0 = w.readReal80();
      e.s1 = w.readReal80();
      e.f0 = w.readReal80();
      e.f1 = w.readReal80();
      e.l0 = w.readReal80();
      e.l1 = w.readReal80();
      m_v.MotorSoundTable.push_back(std::move(e));
    });
  }

  // Indicator lists have no table of their own in the file format; this bound only keeps a
  // damaged file from loading pictures without end.
  static constexpr size_t kIndicatorCapacity = 100;

  const DataFolder& m_folder;
  ImageLoader& m_images;
  ImageLists& m_lists;
  Vehicle& m_v;
  ImageInfo m_work{-1, 0, 0};
};

SectionTable VehicleReader::table() {
  Vehicle& v = m_v;
  return {
      {kBasicSettings,
       {
           intValue("[Handle]", v.Handle),
           intValue("[BrakeType]", v.BrakeType),
           intValue("[Brake]", v.Brake),
           intValue("[Power]", v.Power),
           intValue("[Hold]", v.Hold),
           fixedValue("[BrakeRate]", v.BrakeRate),
           intValue("[PowerDelay]", v.PowerDelay),
           intValue("[BrakeDelay]", v.BrakeDelay),
           intValue("[SAPDelay]", v.SAPDelay),
           intValue("[BrakeUp]", v.BrakeUp),
           intValue("[BrakeDown]", v.BrakeDown),
           intValue("[EBPress]", v.EBPress),
           intValue("[SAPPress]", v.SAPPress),
           intValue("[HighAirPress]", v.HighAirPress),
           intValue("[LowAirPress]", v.LowAirPress),
           intValue("[Curr1]", v.Curr1),
           intValue("[Curr2]", v.Curr2),
           intValue("[Engine_Type]", v.Engine_Type),
           intValue("[DoorType]", v.DoorType),
           fixedValue("[Mt]", v.Mt),
           fixedValue("[Tt]", v.Tt),
           intValue("[Cars]", v.Cars),
           {"[StopLine]",
            [this](W& w) {
              m_v.StopLine = w.readText();
              m_lists.SignImageList.push_back(load(w, m_v.StopLine));
            }},
           fixedValue("[Tons]", v.Tons),
           intValue("[EB]", v.EB),
           intValue("[MaxSpeed]", v.MaxSpeed),
           intValue("[Lose_elec]", v.Lose_elec),
           intValue("[Mc]", v.Mc),
           intValue("[ATS_Type]", v.ATS_Type),
           intValue("[ATS_Alert]", v.ATS_Alert),
           intValue("[ATS_Time]", v.ATS_Time),
           intValue("[ATS_Cnt]", v.ATS_Cnt),
           intValue("[Sound_br1]", v.Sound_br1),
           intValue("[Sound_br2]", v.Sound_br2),
           intValue("[Sound_EB]", v.Sound_EB),
           intValue("[Sound_Ats1]", v.Sound_Ats1),
           intValue("[Sound_Ats2]", v.Sound_Ats2),
           intValue("[Sound_Atc]", v.Sound_Atc),
           intValue("[Sound_Horn]", v.Sound_Horn),
           intValue("[Sound_Horn2]", v.Sound_Horn2),
           intValue("[Sound_Horn3]", v.Sound_Horn3),
           intValue("[Sound_DoorOpen]", v.Sound_DoorOpen),
           intValue("[Sound_DoorClose]", v.Sound_DoorClose),
           intValue("[Sound_EBring]", v.Sound_EBring),
           intValue("[Sound_squeak]", v.Sound_squeak),
           intValue("[CP_Start]", v.CP_Start),
           intValue("[CP_Cnt]", v.CP_Cnt),
           intValue("[CP_End]", v.CP_End),
           intValue("[Stop]", v.Stop),
           {"[Buzzer]",
            [&v](W& w) {
              v.Buzzer[0] = w.readInt();
              v.Buzzer[1] = w.readInt();
            }},
           intValue("[DepSign]", v.DepSign),
           {"[EngineSound]",
            [&v](W& w) {
              for (auto& s : v.EngineSound) s = w.readInt();
            }},
           {"[Gear_Type]",
            [&v](W& w) {
              const std::string& word = w.next();
              if (word == "AT") v.manualGears = false;
              if (word == "MT") v.manualGears = true;
            }},
       }},
      {"[Notch]", {{"[Notch]", [this](W& w) { readNotch(w); }}}},
      {"[Engine]", {{"[Engine]", [this](W& w) { readEngine(w); }}}},
      {"[MotorSound]", {{"[MotorSound]", [this](W& w) { readMotorSound(w); }}}},
      {"[DriveSound]",
       {{"[DriveSound]",
         [&v](W& w) {
           v.DriveSoundList.clear();
           w.readList(kDriveSoundCapacity, [&] { v.DriveSoundList.push_back(w.line()); });
         }}}},
      {"- アナログ時計",
       {{"[Clock]",
         [&v](W& w) {
           v.Clock.x = w.readInt();
           v.Clock.y = w.readInt();
           v.Clock.length = w.readInt();
         }}}},
      {"- 運転台パネル",
       {
           panelImage("[Panel]", v.Panel),
           panelImage("[Panel2]", v.Panel2),
           panelImage("[Lamp_Door]", v.Lamp_Door),
           panelImage("[Lamp_Power]", v.Lamp_Power),
           panelImage("[Lamp_EB]", v.Lamp_EB),
           panelImage("[Lamp_Gen]", v.Lamp_Gen),
           panelImage("[Lamp_Air]", v.Lamp_Air),
           panelImage("[Lamp_Ele]", v.Lamp_Ele),
           panelImage("[Lamp_Ats]", v.Lamp_Ats),
           panelImage("[Lamp_ATSP1]", v.Lamp_ATSP1),
           panelImage("[Lamp_ATSP2]", v.Lamp_ATSP2),
           panelImage("[Lamp_G]", v.Lamp_G),
           panelImage("[Lamp_YG]", v.Lamp_YG),
           panelImage("[Lamp_Y]", v.Lamp_Y),
           panelImage("[Lamp_YY]", v.Lamp_YY),
           panelImage("[Lamp_R]", v.Lamp_R),
           panelImage("[Lamp_Fwd]", v.Lamp_Fwd),
           panelImage("[Lamp_Back]", v.Lamp_Back),
       }},
      {"- 速度計", {needle("[Needle_Speed]", v.Needle_Speed)}},
      {"- BC圧力計", {needle("[Needle_BC]", v.Needle_BC)}},
      {"- SAP圧力計", {needle("[Needle_SAP]", v.Needle_SAP)}},
      {"- ER圧力計", {needle("[Needle_ER]", v.Needle_ER)}},
      {"- BP圧力計", {needle("[Needle_BP]", v.Needle_BP)}},
      {"- MR圧力計", {needle("[Needle_MR]", v.Needle_MR)}},
      {"- 電圧計", {needle("[Needle_V]", v.Needle_V)}},
      {"- 電流計", {needle("[Needle_I]", v.Needle_I)}},
      {"[NotchImageP]", {indicatorList("[NotchImageP]", m_lists.NotchImageP)}},
      {"[NotchImageB]", {indicatorList("[NotchImageB]", m_lists.NotchImageB)}},
      {"[GearImageList]", {indicatorList("[GearImageList]", m_lists.GearImageList)}},
      {"[Others]",
       {{"[Others]",
         [&v](W& w) {
           v.OthersTable.clear();
           w.readList(kOthersCapacity,
                      [&] { v.OthersTable.push_back(readPanelImage(w, w.line())); });
         }}}},
  };
}

}  // namespace

std::string basicSettingsError() {
  return std::string(kVehicleError) + std::string(kBasicSettings);
}

Vehicle readVehicleFile(const DataFolder& folder, std::string_view name, ReaderContext& context,
                        ImageLoader& images, ImageLists& lists) {
  const auto message = [](const ReaderContext& c) { return std::string(kVehicleError) + c.label; };
  auto lines = readTextLines(folder.resolve(name));
  if (!lines) throw StartupError(message(context));
  Vehicle v;
  v.fileName = std::string(name);
  VehicleReader reader(folder, images, lists, v);
  SectionWalker walker(std::move(*lines), context, message);
  walker.walk(reader.table());
  return v;
}

}  // namespace velmoria
