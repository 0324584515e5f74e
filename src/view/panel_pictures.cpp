#include "view/panel_pictures.h"

#include "frame/startup_error.h"

namespace velmoria {

std::vector<std::string> panelPictureFiles(const Vehicle& v, const Route& route) {
  std::vector<std::string> files;
  const auto add = [&](const std::string& file) {
    if (!file.empty()) files.push_back(file);
  };
  for (const PanelImageSpec* image :
       {&v.Panel, &v.Panel2, &v.Lamp_Door, &v.Lamp_Power, &v.Lamp_EB, &v.Lamp_Gen, &v.Lamp_Air,
        &v.Lamp_Ele, &v.Lamp_Ats, &v.Lamp_ATSP1, &v.Lamp_ATSP2, &v.Lamp_G, &v.Lamp_YG, &v.Lamp_Y,
        &v.Lamp_YY, &v.Lamp_R, &v.Lamp_Fwd, &v.Lamp_Back})
    add(image->file);
  for (const NeedleSpec* needle : {&v.Needle_Speed, &v.Needle_ER, &v.Needle_BP, &v.Needle_MR,
                                   &v.Needle_BC, &v.Needle_SAP, &v.Needle_V, &v.Needle_I})
    add(needle->file);
  for (size_t i = 0; i < v.OthersTable.size() && i < kOthersCapacity; ++i)
    add(v.OthersTable[i].file);
  add(route.StafCard);
  return files;
}

std::string missingPictureMessage(const std::string& file) {
  return file + "が見つかりません";
}

CardSize checkPanelPictures(const Vehicle& vehicle, const Route& route, const DataFolder& folder,
                            ImageLoader& images) {
  CardSize card;
  for (const std::string& file : panelPictureFiles(vehicle, route)) {
    const auto info = images.load(folder.resolve(file));
    if (!info) throw StartupError(missingPictureMessage(file));
    // The card is the last picture of the list.
    if (file == route.StafCard) card = CardSize{info->width, info->height};
  }
  return card;
}

}  // namespace velmoria
