// GMarker: an icon on a point; fires "click" (GEvent) with its position when clicked. Takes the
// icon's leafletIcon and defaultIcon and the events' GEvent.
function markerModule(icons, events) {
  var leafletIcon = icons.leafletIcon;
  var defaultIcon = icons.defaultIcon;
  var GEvent = events.GEvent;

  function GMarker(point, icon) {
    this._point = point;
    this._icon = icon;
    this._layer = null;
  }

  GMarker.prototype.getLatLng = function () {
    return this._point;
  };

  // Opens an information window with `html` above the icon's infoWindowAnchor.
  GMarker.prototype.openInfoWindowHtml = function (html) {
    if (!this._layer || !this._layer._map) return;
    this._layer.unbindPopup();
    this._layer.bindPopup(String(html)).openPopup();
  };

  GMarker.prototype._leafletLayer = function () {
    if (!this._layer) {
      this._layer = L.marker(this._point.toLeaflet(), {
        icon: leafletIcon(this._icon || defaultIcon()),
        keyboard: false,
      });
      var self = this;
      this._layer.on("click", function () {
        GEvent.trigger(self, "click", self._point);
      });
    }
    return this._layer;
  };

  return { GMarker: GMarker };
}
