// GOverviewMapControl: a small map in the bottom-right corner, OVERVIEW_ZOOM_OUT levels further
// out than the map, with the map's view framed on it. Takes the map controls' leafletControlType
// and the tiles' BACKGROUND_COLOR.
function overviewControlModule(mapControls, tiles) {
  var leafletControlType = mapControls.leafletControlType;
  var BACKGROUND_COLOR = tiles.BACKGROUND_COLOR;

  var OVERVIEW_SIZE = 120; // pixels, square
  var OVERVIEW_ZOOM_OUT = 5;
  var OVERVIEW_FRAME_COLOR = "#4060ff"; // the frame of the map's view

  // The overview is a map of its own in the control's element. Leaflet measures a map when it
  // first sets its view; that waits until the element is on the page, where it has its size.
  var OverviewMap = L.Control.extend({
    options: { position: "bottomright" },

    initialize: function (map) {
      this._gmap = map;
    },

    onAdd: function () {
      var container = L.DomUtil.create("div", "leaflet-bar overview-map");
      container.style.width = OVERVIEW_SIZE + "px";
      container.style.height = OVERVIEW_SIZE + "px";
      container.style.background = BACKGROUND_COLOR;
      this._overview = L.map(container, {
        attributionControl: false,
        zoomControl: false,
        dragging: false,
        touchZoom: false,
        scrollWheelZoom: false,
        doubleClickZoom: false,
        boxZoom: false,
        keyboard: false,
        zoomAnimation: false,
        fadeAnimation: false,
        trackResize: false,
      });
      this._layers = [];
      this._frame = L.rectangle([[0, 0], [0, 0]], {
        renderer: L.svg({ padding: 0 }),
        color: OVERVIEW_FRAME_COLOR,
        weight: 1,
        fillOpacity: 0.15,
        interactive: false,
      });
      this.mapTypeChanged(this._gmap.getCurrentMapType());
      return container;
    },

    // Adds the control, then shows the map's view on it once its element is on the page.
    addTo: function (leaflet) {
      L.Control.prototype.addTo.call(this, leaflet);
      leaflet.on("moveend zoomend", this._follow, this);
      leaflet.on("resize", this._measure, this);
      if (leaflet._loaded) this._follow();
      return this;
    },

    onRemove: function (leaflet) {
      leaflet.off("moveend zoomend", this._follow, this);
      leaflet.off("resize", this._measure, this);
      this._overview.remove();
    },

    // Shows the map's current type under the frame.
    mapTypeChanged: function (type) {
      var overview = this._overview;
      this._layers.forEach(function (layer) {
        overview.removeLayer(layer);
      });
      this._layers = type ? type.createLayers() : [];
      this._layers.forEach(function (layer) {
        layer.options.pane = "tilePane";
        overview.addLayer(layer);
      });
    },

    // The map's size changed: the overview measures its element again and frames the new view.
    _measure: function () {
      this._overview.invalidateSize({ pan: false });
      this._follow();
    },

    _follow: function () {
      var leaflet = this._gmap._leaflet;
      var zoom = Math.max(0, leaflet.getZoom() - OVERVIEW_ZOOM_OUT);
      this._overview.setView(leaflet.getCenter(), zoom, { animate: false });
      this._frame.setBounds(leaflet.getBounds());
      if (!this._overview.hasLayer(this._frame)) this._frame.addTo(this._overview);
    },
  });

  var GOverviewMapControl = leafletControlType(function (map) {
    var control = new OverviewMap(map);
    map._typeControls.push(control);
    return control;
  });

  return { GOverviewMapControl: GOverviewMapControl };
}
