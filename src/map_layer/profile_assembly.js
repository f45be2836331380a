// The profile strip made from its parts (the files may be joined in any order); its one name on
// window. It takes nothing from the map layer's parts: the page hands it its map.
window.ProfileStrip = profileStripModule(profileDataModule(), profileChartModule()).ProfileStrip;
