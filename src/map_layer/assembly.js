// The layer made from its parts. Every other file of the layer declares one function,
// `<part>Module`, that takes the parts it needs and returns what it offers; nothing runs before
// the calls below, which make each part after the parts it takes. The files may be joined in
// any order.
//
// `settings` is the one object the page writer passes in (the layer's only input besides
// Leaflet); its fields:
//
//   tileUrl               String  template of the street map's tiles (地図); see tiles.js
//   tileAttribution       String  HTML shown on the map with them
//   satelliteUrl          String  template of the aerial photos' tiles (航空写真, 地図+写真)
//   satelliteAttribution  String  HTML shown with them
//   labelsUrl             String  template of the place names and borders over the aerial photos
//                                 (地図+写真)
//   labelsAttribution     String  HTML shown with them
//   tileMaxZoom           Number  the deepest zoom, whole from 0 to 19, the street map has tiles
//                                 for; deeper, its tiles are drawn enlarged
//   satelliteMaxZoom      Number  likewise for the aerial photos and their labels
//   images                Object  the layer's own images ("pin.png", "pin_shadow.png",
//                                 "placemark.png", the heading icons "pt000.png" ...) as data
//                                 addresses, by file name
//   serviceImages         Object  by image address on the old map service's hosts, the file
//                                 name in `images` of the copy that stands for it
//
// The page writer passes every field; a template that cannot be used gives no tiles.
function mapLayer(settings) {
  var geometry = geometryModule();
  var mercator = mercatorModule();
  var events = eventsModule();
  var images = imagesModule(settings);
  var icon = iconModule(geometry, images);
  var marker = markerModule(icon, events);
  var polyline = polylineModule();
  var tiles = tilesModule(settings, mercator);
  var control = controlModule(geometry);
  var mapControls = mapControlsModule(control, tiles);
  var map = mapModule(geometry, mercator, tiles, control);
  var overviewControl = overviewControlModule(mapControls, tiles);
  return exportsModule(
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
  );
}

// The API's names are the layer's only names on window.
(function (api) {
  Object.keys(api).forEach(function (name) {
    window[name] = api[name];
  });
})(mapLayer(settings));
