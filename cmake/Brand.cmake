# Brand values and host names. They are defaults only: the program and the
# tool take overrides from the command line and the environment, which is how
# the tests point every host at a loopback server.
set(CHANNELDECK_PRODUCT_NAME "ChannelDeck" CACHE STRING "Product name")
set(CHANNELDECK_COMPANY_NAME "Quenmark Software" CACHE STRING
    "Company name; this exact name builds the edition with every category button")
set(CHANNELDECK_WEBSITE "www.channeldeck.org" CACHE STRING "Website address")
set(CHANNELDECK_CATALOGUE_HOST "www.channeldeck.org" CACHE STRING "Catalogue server host")
set(CHANNELDECK_LANGUAGE_HOST "www.channeldeck.org" CACHE STRING "Language server host")
set(CHANNELDECK_BANNER_HOST "www.channeldeck.org" CACHE STRING "Banner server host")
set(CHANNELDECK_VIDEO_HOST "www.youtube.com" CACHE STRING "Video site host")
set(CHANNELDECK_VIDEO_REGIONAL_HOST "www.youtube.com" CACHE STRING "Video site regional host (search)")
set(CHANNELDECK_VIDEO_PLAYER_HOST "www.youtube.com" CACHE STRING "Video site player host")
