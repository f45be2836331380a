// What the page sees: the API's names, each taken from the part that makes it, with the two
// functions that belong to no part.
function exportsModule(
  geometry,
  events,
  icon,
  marker,
  polyline,
  tiles,
  control,
  mapControls,
  overviewControl,
  map
) {
  var GMap2 = map.GMap2;

  function GBrowserIsCompatible() {
    return typeof L === "object" && !!document.createElement("canvas").getContext;
  }

  // Releases every map and listener when the page goes away.
  function GUnload() {
    GMap2.instances.forEach(function (instance) {
      instance._leaflet.remove();
    });
    GMap2.instances = [];
  }

  return {
    GMap2: GMap2,
    GLatLng: geometry.GLatLng,
    GLatLngBounds: geometry.GLatLngBounds,
    GSize: geometry.GSize,
    GPoint: geometry.GPoint,
    GIcon: icon.GIcon,
    GMarker: marker.GMarker,
    GPolyline: polyline.GPolyline,
    GEvent: events.GEvent,
    GControl: control.GControl,
    GControlPosition: control.GControlPosition,
    G_ANCHOR_TOP_RIGHT: control.G_ANCHOR_TOP_RIGHT,
    G_ANCHOR_TOP_LEFT: control.G_ANCHOR_TOP_LEFT,
    G_ANCHOR_BOTTOM_RIGHT: control.G_ANCHOR_BOTTOM_RIGHT,
    G_ANCHOR_BOTTOM_LEFT: control.G_ANCHOR_BOTTOM_LEFT,
    GKeyboardHandler: map.GKeyboardHandler,
    GLargeMapControl: mapControls.GLargeMapControl,
    GMapTypeControl: mapControls.GMapTypeControl,
    GScaleControl: mapControls.GScaleControl,
    GOverviewMapControl: overviewControl.GOverviewMapControl,
    G_NORMAL_MAP: tiles.G_NORMAL_MAP,
    G_SATELLITE_MAP: tiles.G_SATELLITE_MAP,
    G_HYBRID_MAP: tiles.G_HYBRID_MAP,
    GBrowserIsCompatible: GBrowserIsCompatible,
    GUnload: GUnload,
  };
}
