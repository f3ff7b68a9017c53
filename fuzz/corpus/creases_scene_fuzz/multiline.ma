//Maya ASCII 2024 scene
	setAttr -s 4 ".ed";
	setAttr ".ed[0:1]"  0 1 0
		 1 2 0;
	setAttr ".ed[2:3]" 3 2 0 3 0 0;
	setAttr ".cd" -type "dataPolyComponent" Index_Data Edge 2 
		0 1.9 
		3 1.9 ;
	setAttr ".cvd" -type "dataPolyComponent" Index_Data Vertex 0 ;
// End
