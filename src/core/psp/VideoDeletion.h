#pragma once

namespace velmora {

class MainForm;

// After the user confirms, deletes the selected videos of listPSP from its folder, in list
// order, each with its thumbnail, then shows the folder and the free space anew; only while
// that folder is the picked stick's video folder (see PickedStick.h). A step that
// fails is passed over without a word and the rest goes on. A thumbnail that another video
// still in the folder shares by the eight-character rule stays for that video.
void deleteSelectedVideos(MainForm& form);

}  // namespace velmora
