// What the page sees: the API's names on window.

function GBrowserIsCompatible() {
  return typeof L === "object" && !!document.createElement("canvas").getContext;
}

// Releases every map and listener when the page goes away.
function GUnload() {
  GMap2.instances.forEach(function (map) {
    map._leaflet.remove();
  });
  GMap2.instances = [];
}

[
  ["GMap2", GMap2],
  ["GLatLng", GLatLng],
  ["GLatLngBounds", GLatLngBounds],
  ["GSize", GSize],
  ["GPoint", GPoint],
  ["GIcon", GIcon],
  ["GMarker", GMarker],
  ["GPolyline", GPolyline],
  ["GEvent", GEvent],
  ["GControl", GControl],
  ["GControlPosition", GControlPosition],
  ["G_ANCHOR_TOP_RIGHT", G_ANCHOR_TOP_RIGHT],
  ["G_ANCHOR_TOP_LEFT", G_ANCHOR_TOP_LEFT],
  ["G_ANCHOR_BOTTOM_RIGHT", G_ANCHOR_BOTTOM_RIGHT],
  ["G_ANCHOR_BOTTOM_LEFT", G_ANCHOR_BOTTOM_LEFT],
  ["GKeyboardHandler", GKeyboardHandler],
  ["GLargeMapControl", GLargeMapControl],
  ["GMapTypeControl", GMapTypeControl],
  ["GScaleControl", GScaleControl],
  ["GOverviewMapControl", GOverviewMapControl],
  ["G_NORMAL_MAP", G_NORMAL_MAP],
  ["G_SATELLITE_MAP", G_SATELLITE_MAP],
  ["G_HYBRID_MAP", G_HYBRID_MAP],
  ["GBrowserIsCompatible", GBrowserIsCompatible],
  ["GUnload", GUnload],
].forEach(function (entry) {
  window[entry[0]] = entry[1];
});
