x
	setAttr -s 4 ".ed";
	setAttr ".ed[0:3]"
		0 1 0 1 2 0 2 3 0 3 0 1;
  	setAttr ".cd" -type "dataPolyComponent" Index_Data Edge 1
 2 1000  ;
y