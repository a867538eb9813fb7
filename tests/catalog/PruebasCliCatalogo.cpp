// verondal-cli catalogo: each rowset printed as the layer delivers it.
